// The page's side of Kvelmor in the browser: builds the elements the C++ side asks for and
// forwards the user's clicks and keys to it. It decides nothing itself: what a control does is
// the C++ side's (web/main.cpp), as are the layout, the texts and the picture's pixels.
var KvelmorPage = (function () {
  "use strict";
  var root = null;       // the window: the grey client area
  var canvas = null;
  var context = null;
  var controls = {};     // name -> the element that stands for the control
  var focusables = {};   // name -> the element that takes the focus
  var groups = {};       // frame name -> its option names, in table order
  var scrollBars = {};
  var running = false;
  var ended = false;

  function px(value) { return value + "px"; }

  function place(element, c) {
    element.style.left = px(c.left);
    element.style.top = px(c.top);
    element.style.width = px(c.width);
    element.style.height = px(c.height);
  }

  function setFont(element, c) {
    element.style.fontFamily = c.fontFamily;
    element.style.fontSize = px(c.fontSize);
    element.style.fontWeight = c.bold ? "700" : "400";
  }

  function describe(element, c) {
    if (c.accessibleDescription) element.setAttribute("aria-description", c.accessibleDescription);
  }

  // While a run lasts, and after "Konec", no input reaches any control; nothing is queued either,
  // since the events are dropped here, before any handler sees them.
  // The browser's own keys stay the browser's: F5 and Ctrl+R reload the page, which is how the
  // user starts again after "Konec" and how a slow run can be ended.
  function isBrowserKey(event) {
    if (/^F\d+$/.test(event.key)) return true;
    return (event.ctrlKey || event.metaKey || event.altKey) &&
      !/^(Arrow|Tab$|Enter$| $|Home$|End$|Page)/.test(event.key);
  }
  function blocked() { return running || ended; }
  function dropWhileBlocked(event) {
    if (!blocked()) return;
    if (event instanceof KeyboardEvent && isBrowserKey(event)) return;
    event.preventDefault();
    event.stopImmediatePropagation();
  }
  ["keydown", "keyup", "keypress", "mousedown", "mouseup", "click", "dblclick", "auxclick",
   "contextmenu", "wheel", "pointerdown", "pointerup", "touchstart", "touchend", "input",
   "beforeinput", "change", "dragstart", "selectstart"].forEach(function (type) {
    window.addEventListener(type, dropWhileBlocked, {capture: true, passive: false});
  });

  function call(name, types, args) {
    if (blocked()) return;
    Module.ccall(name, null, types, args);
  }

  // Tab and Shift+Tab go round the visible tab stops in ascending tab index, as in the window.
  function tabStops() {
    return Object.keys(focusables).map(function (n) { return focusables[n]; })
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

  function makeLabel(c) {
    var e = document.createElement("div");
    e.className = "kv-label";
    e.textContent = c.caption;
    return e;
  }

  function makeButton(c) {
    var e = document.createElement("button");
    e.type = "button";
    e.className = "kv-button";
    e.textContent = c.caption;
    e.tabIndex = c.tabIndex;
    if (c.accessibleName !== c.caption) e.setAttribute("aria-label", c.accessibleName);
    e.addEventListener("click", function () {
      if (c.name === "cmdStart") startRun();
      else if (c.name === "cmdKonec") call("kv_end", [], []);
    });
    // Enter and Space press the focused button, as on the desktop; a held Enter presses once,
    // since its repeats would start a second run straight after the first.
    e.addEventListener("keydown", function (event) {
      if (event.key === "Enter" && event.repeat) event.preventDefault();
    });
    focusables[c.name] = e;
    return e;
  }

  function makeFrame(c) {
    var e = document.createElement("div");
    e.className = "kv-frame";
    e.setAttribute("role", "radiogroup");
    var border = document.createElement("div");
    border.className = "kv-frame-border";
    border.style.top = px(Math.round(c.fontSize / 2));
    var caption = document.createElement("span");
    caption.className = "kv-frame-caption";
    caption.id = "kv-caption-" + c.name;
    caption.textContent = c.caption;
    e.appendChild(border);
    e.appendChild(caption);
    e.setAttribute("aria-labelledby", caption.id);
    groups[c.name] = [];
    return e;
  }

  function makeOption(c) {
    var e = document.createElement("label");
    e.className = "kv-option";
    var input = document.createElement("input");
    input.type = "radio";
    input.name = c.container;
    input.id = c.name;
    input.tabIndex = -1;
    e.appendChild(input);
    e.appendChild(document.createTextNode(c.caption));
    input.addEventListener("click", function () { call("kv_selectOption", ["string"], [c.name]); });
    input.addEventListener("keydown", function (event) { onOptionKey(event, c); });
    groups[c.container].push(c.name);
    focusables[c.name] = input;
    return e;
  }

  // The arrow keys move the selection within the frame, in table order, wrapping at the ends;
  // the focus follows the selection.
  function onOptionKey(event, c) {
    var step = {ArrowDown: 1, ArrowRight: 1, ArrowUp: -1, ArrowLeft: -1}[event.key];
    if (!step) return;
    event.preventDefault();
    var names = groups[c.container];
    var next = names[(names.indexOf(c.name) + step + names.length) % names.length];
    call("kv_selectOption", ["string"], [next]);
    focusables[next].focus();
  }

  function makeBox(c) {
    var e = document.createElement("input");
    e.type = "hidden";
    e.id = c.name;
    e.value = c.caption;
    return e;
  }

  // A scroll bar of the desktop's kind: two arrow buttons, a track and a thumb. Its value is
  // reported to the C++ side after every change by an arrow, a key or a track click, and after a
  // drag only when the thumb is released.
  function makeScrollBar(c) {
    var e = document.createElement("div");
    e.className = "kv-scrollbar";
    e.setAttribute("role", "scrollbar");
    e.setAttribute("aria-orientation", "horizontal");
    e.setAttribute("aria-label", c.accessibleName);
    e.tabIndex = c.tabIndex;
    var less = document.createElement("div");
    var track = document.createElement("div");
    var thumb = document.createElement("div");
    var more = document.createElement("div");
    less.className = "kv-scroll-arrow kv-scroll-less";
    more.className = "kv-scroll-arrow kv-scroll-more";
    track.className = "kv-scroll-track";
    thumb.className = "kv-scroll-thumb";
    track.appendChild(thumb);
    e.appendChild(less);
    e.appendChild(track);
    e.appendChild(more);
    var bar = {element: e, track: track, thumb: thumb, value: 0, min: 0, max: 0, small: 1,
               large: 1, drag: null};
    scrollBars[c.name] = bar;
    focusables[c.name] = e;

    function change(value) {
      value = Math.max(bar.min, Math.min(bar.max, Math.round(value)));
      if (value === bar.value) return;
      bar.value = value;
      showScroll(bar, value);
      call("kv_scrollChanged", ["number"], [value]);
    }
    // An arrow or the track held down repeats its step, as a desktop scroll bar does: each step
    // is a change of its own.
    var repeat = null;
    function stopRepeat() { clearTimeout(repeat); repeat = null; }
    function holdDown(event, step) {
      if (event.button !== 0) return;
      event.preventDefault();
      e.focus();
      step();
      repeat = setTimeout(function again() {
        if (blocked()) { stopRepeat(); return; }
        step();
        repeat = setTimeout(again, 50);
      }, 400);
    }
    less.addEventListener("mousedown", function (event) {
      holdDown(event, function () { change(bar.value - bar.small); });
    });
    more.addEventListener("mousedown", function (event) {
      holdDown(event, function () { change(bar.value + bar.small); });
    });
    track.addEventListener("mousedown", function (event) {
      if (event.target !== track) return;
      var x = event.clientX;
      holdDown(event, function () {
        var thumbBox = thumb.getBoundingClientRect();
        if (x < thumbBox.left) change(bar.value - bar.large);
        else if (x >= thumbBox.right) change(bar.value + bar.large);
      });
    });
    [less, more, track].forEach(function (part) { part.addEventListener("mouseleave", stopRepeat); });
    window.addEventListener("mouseup", stopRepeat);
    thumb.addEventListener("mousedown", function (event) {
      event.preventDefault();
      e.focus();
      bar.drag = {x: event.clientX, left: thumb.offsetLeft, value: bar.value};
    });
    window.addEventListener("mousemove", function (event) {
      if (!bar.drag) return;
      var room = track.clientWidth - thumb.offsetWidth;
      var left = Math.max(0, Math.min(room, bar.drag.left + event.clientX - bar.drag.x));
      bar.drag.value = room > 0 ? bar.min + (bar.max - bar.min) * left / room : bar.min;
      showScroll(bar, bar.drag.value);
    });
    window.addEventListener("mouseup", function () {
      if (!bar.drag) return;
      var value = bar.drag.value;
      bar.drag = null;
      showScroll(bar, bar.value);
      change(value);
    });
    // The wheel moves it as the desktop's does: three small steps a notch, but never more than
    // a large step (here one), one change per notch; turned towards the user, to the right.
    e.addEventListener("wheel", function (event) {
      var delta = event.deltaY || event.deltaX;
      if (!delta) return;
      event.preventDefault();
      change(bar.value + (delta > 0 ? 1 : -1) * Math.min(3 * bar.small, bar.large));
    }, {passive: false});
    e.addEventListener("keydown", function (event) {
      // The desktop scroll bar's keys: Right and Up add a step, Left and Down take one away;
      // Page Up and Page Down the same with the large step.
      var to = {ArrowLeft: bar.value - bar.small, ArrowDown: bar.value - bar.small,
                ArrowRight: bar.value + bar.small, ArrowUp: bar.value + bar.small,
                PageDown: bar.value - bar.large, PageUp: bar.value + bar.large,
                Home: bar.min, End: bar.max}[event.key];
      if (to === undefined) return;
      event.preventDefault();
      change(to);
    });
    return e;
  }

  function showScroll(bar, value) {
    var room = bar.track.clientWidth - bar.thumb.offsetWidth;
    var share = bar.max > bar.min ? (value - bar.min) / (bar.max - bar.min) : 0;
    bar.thumb.style.left = px(Math.round(room * share));
    bar.element.setAttribute("aria-valuenow", String(Math.round(value)));
  }

  function startRun() {
    if (blocked()) return;
    Module.ccall("kv_start", null, [], [], {async: true});
  }

  return {
    ready: false,
    readyAt: 0,
    lastRunEndedAt: 0,

    createWindow: function (width, height, back, title, pictureName, description) {
      document.title = title;
      root = document.getElementById("kvelmor");
      root.textContent = "";
      root.className = "kv-window";
      root.style.width = px(width);
      root.style.height = px(height);
      root.style.background = back;
      canvas = document.createElement("canvas");
      canvas.className = "kv-picture";
      canvas.setAttribute("role", "img");
      canvas.setAttribute("aria-label", pictureName);
      canvas.setAttribute("aria-description", description);
      root.appendChild(canvas);
      root.addEventListener("keydown", onTab);
    },

    addControl: function (c) {
      var make = {label: makeLabel, button: makeButton, frame: makeFrame, option: makeOption,
                  box: makeBox, scrollbar: makeScrollBar}[c.kind];
      var e = make(c);
      if (c.kind !== "box") {
        if (c.kind !== "option") e.id = c.name;  // an option's id is its radio button's
        e.classList.add("kv-control");
        place(e, c);
        setFont(e, c);
        describe(e, c);
        if (!c.shown) e.hidden = true;
      }
      e.dataset.name = c.name;
      controls[c.name] = e;
      (c.container ? controls[c.container] : root).appendChild(e);
    },

    setScrollRange: function (name, min, max, small, large) {
      var bar = scrollBars[name];
      bar.min = min; bar.max = max; bar.small = small; bar.large = large; bar.value = min;
      bar.element.setAttribute("aria-valuemin", String(min));
      bar.element.setAttribute("aria-valuemax", String(max));
    },

    finishWindow: function () {
      Object.keys(scrollBars).forEach(function (n) { showScroll(scrollBars[n], scrollBars[n].value); });
    },

    boxText: function (name) { return controls[name].value; },
    setBoxText: function (name, text) { controls[name].value = text; },

    setOptionSelected: function (name, selected, tabIndex) {
      var input = focusables[name];
      input.checked = selected;
      input.tabIndex = tabIndex;
    },

    placeLabel: function (name, left, top) {
      var e = controls[name];
      e.style.left = px(left);
      e.style.top = px(top);
      e.hidden = false;
    },

    focusControl: function (name) { focusables[name].focus(); },

    createPicture: function (width, height, logicalWidth, logicalHeight) {
      canvas.width = width;
      canvas.height = height;
      canvas.style.width = px(logicalWidth);
      canvas.style.height = px(logicalHeight);
      context = canvas.getContext("2d");
    },

    showPixels: function (heap, address, width, height, x, y, w, h) {
      var pixels = new Uint8ClampedArray(heap.buffer, address, width * height * 4);
      context.putImageData(new ImageData(pixels, width, height), 0, 0, x, y, w, h);
    },

    // After a run the picture's name says what the run drew.
    setPictureDescription: function (text) {
      canvas.setAttribute("aria-label", text);
      canvas.removeAttribute("aria-description");
    },

    setRunning: function (value) {
      running = value;
      if (!value) KvelmorPage.lastRunEndedAt = performance.now();
      root.setAttribute("aria-busy", value ? "true" : "false");
    },

    showEnded: function (text) {
      ended = true;
      root.hidden = true;
      root.inert = true;
      var message = document.createElement("p");
      message.id = "kv-ended";
      message.className = "kv-ended";
      message.setAttribute("role", "status");
      message.textContent = text;
      root.parentNode.insertBefore(message, root.nextSibling);
    },

    isRunning: function () { return running; },
    hasEnded: function () { return ended; }
  };
})();

var Module = typeof Module !== "undefined" ? Module : {};
Module.postRun = (Module.postRun || []).concat([function () {
  KvelmorPage.readyAt = performance.now();  // milliseconds since the navigation started
  KvelmorPage.ready = true;
}]);
Module.printErr = function (text) { console.error(text); };
