// Touch areas: a finger or a pen that lands on the window beside a control presses the nearest
// control within reach, as if it had landed on it. The mouse presses only what is drawn.
(function () {
  "use strict";
  var kv = KvelmorShared;
  // How far beside a control a finger or a pen may land and still press it, in CSS pixels, so
  // that its touch area is at least 24 px across where its neighbours leave room. Where two
  // areas meet, the nearer control wins.
  kv.TOUCH_REACH = 16;
  var touchTargets = [];  // what a touch beside a control may press: {element, press}

  function distanceTo(element, x, y) {
    var r = element.getBoundingClientRect();
    return Math.hypot(Math.max(r.left - x, 0, x - r.right), Math.max(r.top - y, 0, y - r.bottom));
  }

  // Of `targets` (each with its `element`), the one a finger or pen at (x, y), in client
  // coordinates, reaches: the nearest shown within reach, the first of equally near ones; the
  // one it lands on, where it lands on one.
  kv.nearestWithinReach = function (targets, x, y) {
    var best = null;
    var bestDistance = kv.TOUCH_REACH;
    targets.forEach(function (t) {
      if (t.element.offsetParent === null) return;  // hidden
      var d = distanceTo(t.element, x, y);
      if (d < bestDistance || (d === bestDistance && !best)) {
        best = t;
        bestDistance = d;
      }
    });
    return best;
  };

  // The control a finger or pen at (x, y) presses when it lands beside every control.
  function touchTargetAt(x, y) { return kv.nearestWithinReach(touchTargets, x, y); }

  // `element` pressed through its touch area by `press(event, capture)`, which follows the
  // pointer from then on with `capture`.
  kv.addTouchTarget = function (element, press) {
    touchTargets.push({element: element, press: press});
  };

  // A button or an option pressed through its touch area: pressed while the finger stays on it,
  // clicked when the finger is lifted there, as a tap on the control itself.
  kv.tapPress = function (element, activate) {
    var target = {element: element};
    target.press = function (event, capture) {
      element.classList.add("kv-pressed");
      kv.follow(capture, event.pointerId, {
        move: function (e) {
          element.classList.toggle("kv-pressed", touchTargetAt(e.clientX, e.clientY) === target);
        },
        end: function (e, cancelled) {
          element.classList.remove("kv-pressed");
          if (!cancelled && !kv.blocked() && touchTargetAt(e.clientX, e.clientY) === target) activate();
        }
      });
    };
    touchTargets.push(target);
  };

  function onWindowPointerDown(event) {
    if (event.pointerType === "mouse" || event.target !== kv.root || kv.blocked()) return;
    var target = touchTargetAt(event.clientX, event.clientY);
    if (!target) return;
    event.preventDefault();
    target.press(event, kv.root);
  }

  kv.watchTouches = function (root) {
    root.addEventListener("pointerdown", onWindowPointerDown);
    // No long-press menu from a finger or a pen (the mouse's menu stays the browser's).
    root.addEventListener("contextmenu", function (event) {
      if (event.pointerType && event.pointerType !== "mouse") event.preventDefault();
    });
  };

  // The name of the control a finger at (x, y) would press, or null.
  KvelmorPage.touchTargetAt = function (x, y) {
    var t = touchTargetAt(x, y);
    return t ? t.element.dataset.name : null;
  };
})();
