// Keys of the window, as on the desktop: Tab and Shift+Tab round the tab stops in the window's
// order, the arrow keys within a frame's options, Enter once per press on a button. The scroll
// bar's own keys are in scrollbar.js; the browser's keys stay the browser's (input.js).
(function () {
  "use strict";
  var kv = KvelmorShared;

  // Tab and Shift+Tab go round the visible tab stops in ascending tab index, as in the window.
  function tabStops() {
    return Object.keys(kv.focusables).map(function (n) { return kv.focusables[n]; })
      .filter(function (e) { return e.tabIndex > 0 && e.offsetParent !== null; })
      .sort(function (a, b) { return a.tabIndex - b.tabIndex; });
  }
  function onTab(event) {
    if (event.key !== "Tab" || event.altKey || event.ctrlKey || event.metaKey) return;
    var stops = tabStops();
    var at = stops.indexOf(document.activeElement);
    var next = at < 0 ? 0 : (at + (event.shiftKey ? stops.length - 1 : 1)) % stops.length;
    if (stops.length) stops[next].focus();
    event.preventDefault();
  }

  kv.watchKeys = function (root) { root.addEventListener("keydown", onTab); };

  // The arrow keys move the selection within the frame, in table order, wrapping at the ends;
  // the focus follows the selection. `names` are the frame's options in table order.
  kv.onOptionKey = function (event, name, names) {
    var step = {ArrowDown: 1, ArrowRight: 1, ArrowUp: -1, ArrowLeft: -1}[event.key];
    if (!step) return;
    event.preventDefault();
    var next = names[(names.indexOf(name) + step + names.length) % names.length];
    kv.call("kv_selectOption", ["string"], [next]);
    kv.focusables[next].focus();
  };

  // Enter and Space press the focused button, as on the desktop; a held Enter presses once,
  // since its repeats would start a second run straight after the first.
  kv.onButtonKey = function (event) {
    if (event.key === "Enter" && event.repeat) event.preventDefault();
  };
})();
