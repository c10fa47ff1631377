// The large chooser: where the window is shown smaller than its own size (a phone), its options
// stand too close and its scroll bar's thumb is too small for a finger to pick one reliably. A
// finger's or a pen's tap in a group of options then opens a chooser of that group, its caption
// and its options as large rows with the current one marked; a tap on the scroll bar opens a
// large slider. A choice there acts exactly as a click on the option, or the scroll bar's own
// steps. The mouse, and every finger where the window is its own size or larger (a tablet, a
// desktop), keep the window's direct taps; a finger that moves pans the page instead.
(function () {
  "use strict";
  var kv = KvelmorShared;
  var shown = null;          // the chooser open now: {element, done}
  // The click a browser sends after a tap, on whatever is then under the finger (the chooser the
  // tap opened): it comes at once, so it is the one that comes within this many ms.
  var CLICK_AFTER_TAP = 500;
  var swallowUntil = -Infinity;

  // What a finger at (x, y) reaches: the nearest of the groups, the scroll bars and the buttons
  // within a finger's reach; a group or a scroll bar opens a chooser, a button is tapped directly.
  function partAt(x, y) {
    var parts = [];
    Object.keys(kv.groups).forEach(function (name) {
      parts.push({kind: "group", name: name, element: kv.controls[name]});
    });
    Object.keys(kv.scrollBars).forEach(function (name) {
      parts.push({kind: "slider", name: name, element: kv.scrollBars[name].element});
    });
    kv.root.querySelectorAll(".kv-button").forEach(function (button) {
      parts.push({kind: "button", name: button.dataset.name, element: button});
    });
    var best = kv.nearestWithinReach(parts, x, y);
    return best && best.kind !== "button" ? best : null;
  }

  function onPointerDown(event) {
    swallowUntil = -Infinity;
    if (event.pointerType === "mouse" || kv.blocked() || shown || !kv.targetsSmall()) return;
    var part = partAt(event.clientX, event.clientY);
    if (!part) return;
    // Neither the option under the finger nor the touch areas press anything now.
    event.preventDefault();
    event.stopImmediatePropagation();
    kv.follow(kv.root, event.pointerId, {
      end: function (e, cancelled) {  // cancelled: the finger panned the page
        if (cancelled || kv.blocked()) return;
        var lifted = partAt(e.clientX, e.clientY);
        if (!lifted || lifted.name !== part.name) return;
        swallowUntil = performance.now() + CLICK_AFTER_TAP;
        (part.kind === "group" ? openGroup : openSlider)(part.name);
      }
    });
  }

  function onClick(event) {
    if (performance.now() > swallowUntil) return;
    swallowUntil = -Infinity;
    event.preventDefault();
    event.stopImmediatePropagation();
  }

  function element(tag, className, text) {
    var e = document.createElement(tag);
    e.className = className;
    if (text !== undefined) e.textContent = text;
    return e;
  }

  // A dialog over the whole page, which is inert behind it until it closes: by a choice, by its
  // close button, by Esc, or by a tap beside it. `done` runs once it is gone.
  function open(caption, fill, done) {
    var back = element("div", "kv-chooser");
    var box = element("div", "kv-chooser-box");
    var title = element("p", "kv-chooser-caption", caption);
    title.id = "kv-chooser-caption";
    back.setAttribute("role", "dialog");
    back.setAttribute("aria-modal", "true");
    back.setAttribute("aria-labelledby", title.id);
    back.id = "kv-chooser";
    box.appendChild(title);
    var behind = [kv.area, document.getElementById("kv-panel"), document.getElementById("kv-bar")]
      .filter(Boolean);
    shown = {element: back};
    shown.close = function (after) {
      if (!shown || shown.element !== back) return;
      shown = null;
      back.remove();
      behind.forEach(function (e) { e.inert = false; });
      done();
      if (after) after();
    };
    fill(box, shown.close);
    var close = element("button", "kv-chooser-close", kv.texts.chooserClose);
    close.type = "button";
    close.addEventListener("click", function () { shown.close(); });
    box.appendChild(close);
    back.appendChild(box);
    back.addEventListener("click", function (e) { if (e.target === back) shown.close(); });
    back.addEventListener("keydown", function (e) {
      if (e.key === "Escape") {
        e.preventDefault();
        shown.close();
      }
    });
    behind.forEach(function (e) { e.inert = true; });
    document.body.appendChild(back);
    (box.querySelector("[aria-checked=true], input") || close).focus({preventScroll: true});
  }

  // A group's options as rows: a choice clicks the option, as a tap on it would.
  function openGroup(frame) {
    var names = kv.groups[frame];
    var focusBack = function () {
      var selected = names.filter(function (n) { return kv.focusables[n].checked; })[0];
      if (selected) kv.focusables[selected].focus({preventScroll: true});
    };
    open(kv.controls[frame].querySelector(".kv-frame-caption").textContent, function (box, close) {
      var rows = element("div", "kv-chooser-rows");
      rows.setAttribute("role", "radiogroup");
      rows.setAttribute("aria-labelledby", "kv-chooser-caption");
      names.forEach(function (name) {
        var input = kv.focusables[name];
        var row = element("button", "kv-chooser-row");
        row.type = "button";
        row.setAttribute("role", "radio");
        row.setAttribute("aria-checked", input.checked ? "true" : "false");
        row.dataset.name = name;
        row.appendChild(element("span", "kv-chooser-mark"));
        row.appendChild(element("span", "kv-chooser-text", kv.controls[name].textContent));
        row.addEventListener("click", function () {
          close(function () {
            input.focus({preventScroll: true});
            input.click();
          });
        });
        rows.appendChild(row);
      });
      box.appendChild(rows);
    }, focusBack);
  }

  // The scroll bar as a large slider with a step button at either end: a step, or the slider let
  // go, changes the scroll bar's value as its arrows and its thumb do.
  function openSlider(name) {
    var bar = kv.scrollBars[name];
    open(bar.element.getAttribute("aria-label"), function (box) {
      var line = element("div", "kv-chooser-slider");
      var range = element("input", "kv-chooser-range");
      range.type = "range";
      range.min = String(bar.min);
      range.max = String(bar.max);
      range.step = String(bar.small);
      range.value = String(bar.value);
      range.setAttribute("aria-labelledby", "kv-chooser-caption");
      var value = element("p", "kv-chooser-value", String(bar.value));
      var show = function () {
        range.value = String(bar.value);
        value.textContent = String(bar.value);
      };
      range.addEventListener("input", function () { value.textContent = range.value; });
      range.addEventListener("change", function () {
        bar.change(Number(range.value));
        show();
      });
      [["kv-step-less", "\u2212", kv.texts.stepLess, -1], ["kv-step-more", "+", kv.texts.stepMore, 1]]
        .forEach(function (s, i) {
          var step = element("button", "kv-chooser-step", s[1]);
          step.type = "button";
          step.id = s[0];
          step.setAttribute("aria-label", s[2]);
          step.addEventListener("click", function () {
            bar.change(bar.value + s[3] * bar.small);
            show();
          });
          if (i === 0) line.appendChild(step);
          else {
            line.appendChild(range);
            line.appendChild(step);
          }
        });
      box.appendChild(line);
      box.appendChild(value);
    }, function () { bar.element.focus({preventScroll: true}); });
  }

  kv.watchSmallTargets = function (root) {
    root.addEventListener("pointerdown", onPointerDown, {capture: true});
    window.addEventListener("click", onClick, {capture: true});
  };

  // The caption of the chooser open now, or null.
  KvelmorPage.chooserShown = function () {
    return shown ? shown.element.querySelector(".kv-chooser-caption").textContent : null;
  };
})();
