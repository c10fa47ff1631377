// What input reaches the window: none while a run lasts or after "Konec", dropped before any
// handler sees it; the calls that hand the user's actions to the C++ side; and one pointer
// followed from the press to the lift, for the controls that a finger or a mouse holds.
(function () {
  "use strict";
  var kv = KvelmorShared;

  // While a run lasts, and after "Konec", no input reaches the window's controls (nor the bar's
  // below it); nothing is queued either, since the events are dropped here, before any handler
  // sees them. The page around them is not blocked: it can still be panned and zoomed.
  // The browser's own keys stay the browser's: F5 and Ctrl+R reload the page, which is how a
  // slow run can be ended.
  function isBrowserKey(event) {
    if (/^F\d+$/.test(event.key)) return true;
    return (event.ctrlKey || event.metaKey || event.altKey) &&
      !/^(Arrow|Tab$|Enter$| $|Home$|End$|Page)/.test(event.key);
  }
  kv.blocked = function () { return kv.running || kv.ended; };
  function inGuardedPart(target) {  // the window, or the bar below it
    return target instanceof Node && [kv.root].concat(kv.guarded).some(function (e) {
      return !!e && e.contains(target);
    });
  }
  function dropWhileBlocked(event) {
    if (!kv.blocked()) return;
    if (event instanceof KeyboardEvent) {
      if (isBrowserKey(event)) return;
      var t = event.target;
      var toTheWindow = inGuardedPart(t) || t === document.body || t === document.documentElement;
      if (!toTheWindow) return;
    } else if (!inGuardedPart(event.target)) {
      return;
    }
    event.preventDefault();
    event.stopImmediatePropagation();
  }
  ["keydown", "keyup", "keypress", "mousedown", "mouseup", "click", "dblclick", "auxclick",
   "pointerdown", "pointerup", "input", "beforeinput", "change"].forEach(function (type) {
    window.addEventListener(type, dropWhileBlocked, {capture: true, passive: false});
  });

  // One of the C++ side's kv_ functions, unless input is blocked.
  kv.call = function (name, types, args) {
    if (kv.blocked()) return;
    Module.ccall(name, null, types, args);
  };

  kv.startRun = function () {
    if (kv.blocked()) return;
    Module.ccall("kv_start", null, [], [], {async: true});
  };

  // Follows one pointer, captured by `element`, until it is lifted or lost. A pointer that can no
  // longer be captured (already lifted) ends at once, as cancelled.
  kv.follow = function (element, pointerId, handlers) {
    function move(event) {
      if (event.pointerId === pointerId && handlers.move) handlers.move(event);
    }
    function end(event) {
      if (event.pointerId !== pointerId) return;
      element.removeEventListener("pointermove", move);
      element.removeEventListener("pointerup", end);
      element.removeEventListener("pointercancel", end);
      element.removeEventListener("lostpointercapture", end);
      handlers.end(event, event.type !== "pointerup");
    }
    try {
      element.setPointerCapture(pointerId);
    } catch (notActive) {
      handlers.end({pointerId: pointerId, clientX: NaN, clientY: NaN}, true);
      return;
    }
    element.addEventListener("pointermove", move);
    element.addEventListener("pointerup", end);
    element.addEventListener("pointercancel", end);
    element.addEventListener("lostpointercapture", end);
  };
})();
