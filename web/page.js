// The page's side of Kvelmor in the browser: builds the elements the C++ side asks for, fits the
// window to the space the page gives it, and forwards the user's clicks, touches and keys to the
// C++ side. It decides nothing about the program: what a control does is the C++ side's
// (web/main.cpp), as are the layout, the texts and the picture's pixels.
var KvelmorPage = (function () {
  "use strict";
  // How far beside a control a finger or a pen may land and still press it, in CSS pixels, so
  // that its touch area is at least 24 px across where its neighbours leave room. Where two
  // areas meet, the nearer control wins. The mouse presses only what is drawn.
  var TOUCH_REACH = 16;
  var TOUCH_THUMB = 24;  // the scroll bar's thumb under a finger or a pen, in CSS pixels wide
  // A held scroll arrow or track repeats its step as a desktop scroll bar does.
  var REPEAT_DELAY = 400;
  var REPEAT_EVERY = 50;
  var PINCH_SETTLE = 150;  // ms a pinch zoom rests before the picture is made at its new size

  var area = null;       // the space the page gives the window; it shrinks when a bar is added
  var root = null;       // the window: the grey client area
  var canvas = null;
  var context = null;
  var windowWidth = 0;   // the window's size in logical pixels
  var windowHeight = 0;
  var scale = 1;         // CSS pixels to a logical pixel: the window's fit
  var picture = {width: 0, height: 0, ratio: 1};
  var controls = Object.create(null);    // name -> the element that stands for the control
  var focusables = Object.create(null);  // name -> the element that takes the focus
  var groups = Object.create(null);      // frame name -> its option names, in table order
  var scrollBars = Object.create(null);
  var touchTargets = [];  // what a touch beside a control may press: {element, press}
  var guarded = [];       // elements of the page that take no input while the window takes none
  var labelBoxes = Object.create(null);  // label name -> its place, size and font, logical pixels
  var showCaption = Object.create(null); // control name -> puts a new caption in its place
  var running = false;
  var ended = false;
  var runtimeReady = false;

  // Lengths of the window are in logical pixels times the fit, which the page keeps in the
  // custom property --kv-px of the window's area.
  function u(value) { return "calc(" + value + " * var(--kv-px, 1px))"; }

  function named(table, name, what) {
    if (!(name in table)) failUnknownName(what, name);
    return table[name];
  }
  function failUnknownName(what, name) {
    throw new Error("Kvelmor: the page has no " + what + " named \"" + name + "\"");
  }

  function place(element, c) {
    element.style.left = u(c.left);
    element.style.top = u(c.top);
    element.style.width = u(c.width);
    element.style.height = u(c.height);
  }

  function setFont(element, c) {
    element.style.fontFamily = c.fontFamily;
    element.style.fontSize = u(c.fontSize);
    element.style.fontWeight = c.bold ? "700" : "400";
  }

  function describe(element, description) {
    if (description) element.setAttribute("aria-description", description);
    else element.removeAttribute("aria-description");
  }

  // A button's accessible name is its caption unless the window names it otherwise.
  function nameButton(element, caption, accessibleName) {
    if (accessibleName !== caption) element.setAttribute("aria-label", accessibleName);
    else element.removeAttribute("aria-label");
  }

  // -- fit ---------------------------------------------------------------------------------------

  // The whole window scaled by one factor to the largest size that fits its area, centred, its
  // corner on a whole device pixel so that the picture's pixels fall on the screen's. Runs
  // before the browser paints a resize, a rotation, a zoom or a new screen, also during a run.
  function fit() {
    if (!root) return;
    var box = area.getBoundingClientRect();
    var s = Math.min(box.width / windowWidth, box.height / windowHeight);
    if (!(s > 0)) return;
    var dpr = window.devicePixelRatio || 1;
    var snap = function (v) { return Math.round(v * dpr) / dpr; };
    scale = s;
    area.style.setProperty("--kv-px", s + "px");
    root.style.left = snap((box.width - windowWidth * s) / 2) + "px";
    root.style.top = snap((box.height - windowHeight * s) / 2) + "px";
    if (runtimeReady) Module.ccall("kv_refit", null, [], []);
    sizeCanvas();
  }

  function pinchScale() {
    return window.visualViewport && window.visualViewport.scale > 0 ? window.visualViewport.scale : 1;
  }

  // Shown at one screen pixel per picture pixel: its CSS size is its pixel size over the device
  // pixels to a CSS pixel it was made for.
  function sizeCanvas() {
    if (!canvas || !picture.width) return;
    var cssPerPixel = scale / picture.ratio;
    canvas.style.width = picture.width * cssPerPixel + "px";
    canvas.style.height = picture.height * cssPerPixel + "px";
  }

  function watchTheFit() {
    // The area's size in device pixels changes with its CSS size and with the pixel ratio alike;
    // browsers that cannot watch device pixels watch its CSS size and the media query below.
    if (window.ResizeObserver) {
      var observer = new ResizeObserver(fit);
      try {
        observer.observe(area, {box: "device-pixel-content-box"});
      } catch (unsupported) {
        observer.observe(area);
      }
    }
    window.addEventListener("resize", fit);
    // A new device-pixel ratio (another screen, a browser zoom that leaves the area's CSS size).
    (function watchRatio() {
      var query = window.matchMedia("(resolution: " + (window.devicePixelRatio || 1) + "dppx)");
      var changed = function () {
        query.removeEventListener("change", changed);
        watchRatio();
        fit();
      };
      query.addEventListener("change", changed);
    })();
    // A pinch zoom: the picture is made sharp at the new zoom once the fingers rest.
    if (window.visualViewport) {
      var lastPinch = pinchScale();
      var settle = null;
      window.visualViewport.addEventListener("resize", function () {
        if (pinchScale() === lastPinch) return;
        lastPinch = pinchScale();
        clearTimeout(settle);
        settle = setTimeout(fit, PINCH_SETTLE);
      });
    }
  }

  // -- what input reaches the window -------------------------------------------------------------

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
  function blocked() { return running || ended; }
  function inGuardedPart(target) {  // the window, or the bar below it
    return target instanceof Node && [root].concat(guarded).some(function (e) {
      return !!e && e.contains(target);
    });
  }
  function dropWhileBlocked(event) {
    if (!blocked()) return;
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

  function call(name, types, args) {
    if (blocked()) return;
    Module.ccall(name, null, types, args);
  }

  // Follows one pointer, captured by `element`, until it is lifted or lost. A pointer that can no
  // longer be captured (already lifted) ends at once, as cancelled.
  function follow(element, pointerId, handlers) {
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
  }

  // -- touch areas -------------------------------------------------------------------------------

  function distanceTo(element, x, y) {
    var r = element.getBoundingClientRect();
    return Math.hypot(Math.max(r.left - x, 0, x - r.right), Math.max(r.top - y, 0, y - r.bottom));
  }

  // The control a finger or pen at (x, y), in client coordinates, presses when it lands beside
  // every control: the nearest within reach. Landing on a control presses that one.
  function touchTargetAt(x, y) {
    var best = null;
    var bestDistance = TOUCH_REACH;
    touchTargets.forEach(function (t) {
      if (t.element.offsetParent === null) return;  // hidden
      var d = distanceTo(t.element, x, y);
      if (d < bestDistance || (d === bestDistance && !best)) {
        best = t;
        bestDistance = d;
      }
    });
    return best;
  }

  // A button or an option pressed through its touch area: pressed while the finger stays on it,
  // clicked when the finger is lifted there, as a tap on the control itself.
  function tapPress(element, activate) {
    var target = {element: element};
    target.press = function (event, capture) {
      element.classList.add("kv-pressed");
      follow(capture, event.pointerId, {
        move: function (e) {
          element.classList.toggle("kv-pressed", touchTargetAt(e.clientX, e.clientY) === target);
        },
        end: function (e, cancelled) {
          element.classList.remove("kv-pressed");
          if (!cancelled && !blocked() && touchTargetAt(e.clientX, e.clientY) === target) activate();
        }
      });
    };
    touchTargets.push(target);
  }

  function onWindowPointerDown(event) {
    if (event.pointerType === "mouse" || event.target !== root || blocked()) return;
    var target = touchTargetAt(event.clientX, event.clientY);
    if (!target) return;
    event.preventDefault();
    target.press(event, root);
  }

  // -- controls ----------------------------------------------------------------------------------

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
    labelBoxes[c.name] = {left: c.left, top: c.top, width: c.width, height: c.height, text: c.caption,
                          fontFamily: c.fontFamily, fontSize: c.fontSize, bold: c.bold};
    showCaption[c.name] = function (caption) {
      e.textContent = caption;
      labelBoxes[c.name].text = caption;
    };
    return e;
  }

  function makeButton(c) {
    var e = document.createElement("button");
    e.type = "button";
    e.className = "kv-button";
    e.textContent = c.caption;
    e.tabIndex = c.tabIndex;
    nameButton(e, c.caption, c.accessibleName);
    showCaption[c.name] = function (caption, accessibleName) {
      e.textContent = caption;
      nameButton(e, caption, accessibleName);
    };
    e.addEventListener("click", function () {
      if (c.name === "cmdStart") startRun();
      else if (c.name === "cmdKonec") call("kv_end", [], []);
    });
    // Enter and Space press the focused button, as on the desktop; a held Enter presses once,
    // since its repeats would start a second run straight after the first.
    e.addEventListener("keydown", function (event) {
      if (event.key === "Enter" && event.repeat) event.preventDefault();
    });
    tapPress(e, function () {
      e.focus({preventScroll: true});
      e.click();
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
    border.style.top = u(Math.round(c.fontSize / 2));
    var caption = document.createElement("span");
    caption.className = "kv-frame-caption";
    caption.id = "kv-caption-" + c.name;
    caption.textContent = c.caption;
    showCaption[c.name] = function (text) { caption.textContent = text; };
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
    var caption = document.createElement("span");
    caption.textContent = c.caption;
    showCaption[c.name] = function (text) { caption.textContent = text; };
    e.appendChild(input);
    e.appendChild(caption);
    input.addEventListener("click", function () { call("kv_selectOption", ["string"], [c.name]); });
    input.addEventListener("keydown", function (event) { onOptionKey(event, c); });
    tapPress(e, function () {
      input.focus({preventScroll: true});
      input.click();
    });
    named(groups, c.container, "frame").push(c.name);
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

  // A scroll bar of the desktop's kind: two arrow buttons, a track and a thumb, worked alike by
  // mouse, finger and pen. Its value is reported to the C++ side after every change by an arrow,
  // a key or a track press, and after a drag only when the thumb is released.
  function makeScrollBar(c) {
    var e = document.createElement("div");
    e.className = "kv-scrollbar";
    e.setAttribute("role", "scrollbar");
    e.setAttribute("aria-orientation", "horizontal");
    e.setAttribute("aria-label", c.accessibleName);
    showCaption[c.name] = function (caption, accessibleName) {
      e.setAttribute("aria-label", accessibleName);
    };
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
    var bar = {element: e, thumb: thumb, value: 0, min: 0, max: 0, small: 1, large: 1};
    scrollBars[c.name] = bar;
    focusables[c.name] = e;

    function change(value) {
      if (blocked()) return;
      value = Math.max(bar.min, Math.min(bar.max, Math.round(value)));
      if (value === bar.value) return;
      bar.value = value;
      showScroll(bar, value);
      call("kv_scrollChanged", ["number"], [value]);
    }

    // Which part a pointer at client x presses: an arrow, the thumb (wider under a finger or a
    // pen, over the track beside it), or the track on either side of the thumb.
    function partAt(x, pointerType) {
      if (x < less.getBoundingClientRect().right) return "less";
      if (x >= more.getBoundingClientRect().left) return "more";
      var t = thumb.getBoundingClientRect();
      var half = Math.max(t.width, pointerType === "mouse" ? 0 : TOUCH_THUMB) / 2;
      var middle = (t.left + t.right) / 2;
      if (Math.abs(x - middle) <= half) return "thumb";
      return x < middle ? "trackLess" : "trackMore";
    }
    function within(event) {
      var r = e.getBoundingClientRect();
      var reach = event.pointerType === "mouse" ? 0 : TOUCH_REACH;
      return event.clientY >= r.top - reach && event.clientY < r.bottom + reach;
    }

    function drag(event, capture) {
      var t = thumb.getBoundingClientRect();
      var start = {x: event.clientX, left: t.left - track.getBoundingClientRect().left};
      var value = bar.value;
      follow(capture, event.pointerId, {
        move: function (m) {
          var room = track.getBoundingClientRect().width - thumb.getBoundingClientRect().width;
          var left = Math.max(0, Math.min(room, start.left + m.clientX - start.x));
          value = room > 0 ? bar.min + (bar.max - bar.min) * left / room : bar.min;
          showScroll(bar, value);
        },
        end: function () {
          showScroll(bar, bar.value);
          change(value);
        }
      });
    }

    // An arrow or the track held down repeats its step while the pointer stays on that part;
    // the track's steps stop where the thumb reaches the pointer.
    function hold(event, capture, part) {
      var pointer = event;
      var steps = {
        less: function () { change(bar.value - bar.small); },
        more: function () { change(bar.value + bar.small); },
        trackLess: function () {
          if (pointer.clientX < thumb.getBoundingClientRect().left) change(bar.value - bar.large);
        },
        trackMore: function () {
          if (pointer.clientX >= thumb.getBoundingClientRect().right) change(bar.value + bar.large);
        }
      };
      var step = steps[part];
      var over = function () {
        var now = partAt(pointer.clientX, pointer.pointerType);
        var sameSide = now === part || (part.indexOf("track") === 0 && now.indexOf("track") === 0);
        return sameSide && within(pointer);
      };
      step();
      var timer = setTimeout(function again() {
        if (blocked()) return;
        if (over()) step();
        timer = setTimeout(again, REPEAT_EVERY);
      }, REPEAT_DELAY);
      follow(capture, event.pointerId, {
        move: function (m) { pointer = m; },
        end: function () { clearTimeout(timer); }
      });
    }

    bar.press = function (event, capture) {
      event.preventDefault();
      e.focus({preventScroll: true});
      var part = partAt(event.clientX, event.pointerType);
      if (part === "thumb") drag(event, capture);
      else hold(event, capture, part);
    };
    e.addEventListener("pointerdown", function (event) {
      if (event.button !== 0 || blocked()) return;
      bar.press(event, e);
    });
    touchTargets.push({element: e, press: bar.press});

    // The wheel moves it as the desktop's does: three small steps a notch, but never more than
    // a large step (here one), one change per notch; turned towards the user, to the right.
    e.addEventListener("wheel", function (event) {
      var delta = event.deltaY || event.deltaX;
      if (!delta || blocked()) return;
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

  // The thumb stands at its share of the track's free length, whatever the window's scale.
  function showScroll(bar, value) {
    var share = bar.max > bar.min ? (value - bar.min) / (bar.max - bar.min) : 0;
    bar.thumb.style.left = "calc((100% - " + u(17) + ") * " + share + ")";
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
    runsStarted: 0,
    intact: false,

    createWindow: function (width, height, back) {
      windowWidth = width;
      windowHeight = height;
      area = document.getElementById("kv-area");
      root = document.getElementById("kvelmor");
      root.textContent = "";
      root.className = "kv-window";
      root.style.width = u(width);
      root.style.height = u(height);
      root.style.background = back;
      canvas = document.createElement("canvas");
      canvas.className = "kv-picture";
      canvas.setAttribute("role", "img");
      root.appendChild(canvas);
      root.addEventListener("keydown", onTab);
      root.addEventListener("pointerdown", onWindowPointerDown);
      // No long-press menu from a finger or a pen (the mouse's menu stays the browser's).
      root.addEventListener("contextmenu", function (event) {
        if (event.pointerType && event.pointerType !== "mouse") event.preventDefault();
      });
      fit();
      watchTheFit();
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
        describe(e, c.accessibleDescription);
        if (!c.shown) e.hidden = true;
      }
      e.dataset.name = c.name;
      controls[c.name] = e;
      (c.container ? named(controls, c.container, "container") : root).appendChild(e);
    },

    // The page's language, by its code, and the document's title.
    setPageTexts: function (languageCode, title) {
      document.documentElement.lang = languageCode;
      document.title = title;
    },

    // A control's caption and what a screen reader says of it, in place of the ones it had.
    setControlTexts: function (name, caption, accessibleName, description) {
      named(showCaption, name, "control with a caption")(caption, accessibleName);
      describe(named(controls, name, "control"), description);
    },

    setScrollRange: function (name, min, max, small, large) {
      var bar = named(scrollBars, name, "scroll bar");
      bar.min = min; bar.max = max; bar.small = small; bar.large = large; bar.value = min;
      bar.element.setAttribute("aria-valuemin", String(min));
      bar.element.setAttribute("aria-valuemax", String(max));
    },

    finishWindow: function () {
      Object.keys(scrollBars).forEach(function (n) { showScroll(scrollBars[n], scrollBars[n].value); });
    },

    boxText: function (name) { return named(controls, name, "settings box").value; },
    setBoxText: function (name, text) { named(controls, name, "settings box").value = text; },

    setOptionSelected: function (name, selected, tabIndex) {
      var input = named(focusables, name, "option");
      input.checked = selected;
      input.tabIndex = tabIndex;
    },

    placeLabel: function (name, left, top) {
      var e = named(controls, name, "label");
      e.style.left = u(left);
      e.style.top = u(top);
      e.hidden = false;
      labelBoxes[name].left = left;
      labelBoxes[name].top = top;
    },

    // A label's place, size, text and font in logical pixels, as the window shows it.
    labelBox: function (name) { return named(labelBoxes, name, "label"); },

    setScrollValue: function (name, value) {
      var bar = named(scrollBars, name, "scroll bar");
      bar.value = Math.max(bar.min, Math.min(bar.max, value));
      showScroll(bar, bar.value);
    },

    focusControl: function (name) { named(focusables, name, "control").focus({preventScroll: true}); },

    pictureRatio: function () { return scale * (window.devicePixelRatio || 1) * pinchScale(); },

    createPicture: function (width, height, ratio) {
      canvas.width = width;
      canvas.height = height;
      picture = {width: width, height: height, ratio: ratio};
      sizeCanvas();
      context = canvas.getContext("2d");
    },

    showPixels: function (heap, address, width, height, x, y, w, h) {
      var pixels = new Uint8ClampedArray(heap.buffer, address, width * height * 4);
      context.putImageData(new ImageData(pixels, width, height), 0, 0, x, y, w, h);
    },

    // Before a run the picture's name says what it is; after it, what the run drew.
    setPictureTexts: function (name, description) {
      canvas.setAttribute("aria-label", name);
      describe(canvas, description);
    },

    setRunning: function (value) {
      running = value;
      if (value) KvelmorPage.runsStarted++;
      else KvelmorPage.lastRunEndedAt = performance.now();
      root.setAttribute("aria-busy", value ? "true" : "false");
    },

    // The program has ended: the window gives way to a message and a button that loads the page
    // anew, for tablets and phones, which have no F5 key.
    showEnded: function (text, restart) {
      ended = true;
      root.hidden = true;
      root.inert = true;
      var box = document.createElement("div");
      box.className = "kv-ended";
      var message = document.createElement("p");
      message.id = "kv-ended";
      message.setAttribute("role", "status");
      message.textContent = text;
      var button = document.createElement("button");
      button.type = "button";
      button.id = "kv-restart";
      button.textContent = restart;
      button.addEventListener("click", function () { window.location.reload(); });
      box.appendChild(message);
      box.appendChild(button);
      area.appendChild(box);
      guarded.forEach(function (e) { e.hidden = true; });
      button.focus({preventScroll: true});
    },

    // `element` takes no input while a run lasts, as the window, and is gone after "Konec".
    guard: function (element) { guarded.push(element); },
    windowElement: function () { return root; },

    failUnknownName: failUnknownName,
    touchTargetAt: function (x, y) {
      var t = touchTargetAt(x, y);
      return t ? t.element.dataset.name : null;
    },
    isRunning: function () { return running; },
    hasEnded: function () { return ended; },
    runtimeStarted: function () { runtimeReady = true; }
  };
})();

// Whether this copy of the page is the one that was built: the script's SHA-256 against the one
// written beside it when the page was made. A copy cut short or changed on the way (a USB stick)
// shows the page's note on a damaged file instead of starting, before any WebAssembly is compiled.
(function checkTheCopy() {
  var script = document.currentScript;
  var expected = script && script.getAttribute("data-kv-sha256");
  if (expected && sha256(new TextEncoder().encode(script.text)) !== expected) {
    if (window.kvelmorDamaged) window.kvelmorDamaged();
    throw new Error("Kvelmor: this copy of the page is damaged");
  }
  KvelmorPage.intact = true;

  function sha256(bytes) {
    var k = new Int32Array(64);
    var h = new Int32Array(8);
    for (var n = 2, found = 0; found < 64; n++) {  // from the first 64 primes' roots
      var prime = true;
      for (var d = 2; d * d <= n; d++) if (n % d === 0) { prime = false; break; }
      if (!prime) continue;
      if (found < 8) h[found] = (Math.pow(n, 1 / 2) % 1) * 4294967296 | 0;
      k[found++] = (Math.pow(n, 1 / 3) % 1) * 4294967296 | 0;
    }
    var length = bytes.length;
    var words = new Int32Array((((length + 8) >> 6) + 1) * 16);
    for (var i = 0; i < length; i++) words[i >> 2] |= bytes[i] << (24 - (i % 4) * 8);
    words[length >> 2] |= 0x80 << (24 - (length % 4) * 8);
    words[words.length - 1] = length * 8;
    words[words.length - 2] = Math.floor(length / 536870912);
    var w = new Int32Array(64);
    var r = function (x, n) { return (x >>> n) | (x << (32 - n)); };
    for (var b = 0; b < words.length; b += 16) {
      for (var t = 0; t < 64; t++) {
        w[t] = t < 16 ? words[b + t]
          : (r(w[t - 15], 7) ^ r(w[t - 15], 18) ^ (w[t - 15] >>> 3)) +
            (r(w[t - 2], 17) ^ r(w[t - 2], 19) ^ (w[t - 2] >>> 10)) + w[t - 7] + w[t - 16] | 0;
      }
      var a0 = h[0], a1 = h[1], a2 = h[2], a3 = h[3], a4 = h[4], a5 = h[5], a6 = h[6], a7 = h[7];
      for (t = 0; t < 64; t++) {
        var t1 = a7 + (r(a4, 6) ^ r(a4, 11) ^ r(a4, 25)) + ((a4 & a5) ^ (~a4 & a6)) + k[t] + w[t] | 0;
        var t2 = (r(a0, 2) ^ r(a0, 13) ^ r(a0, 22)) + ((a0 & a1) ^ (a0 & a2) ^ (a1 & a2)) | 0;
        a7 = a6; a6 = a5; a5 = a4; a4 = a3 + t1 | 0; a3 = a2; a2 = a1; a1 = a0; a0 = t1 + t2 | 0;
      }
      h[0] += a0; h[1] += a1; h[2] += a2; h[3] += a3; h[4] += a4; h[5] += a5; h[6] += a6; h[7] += a7;
    }
    return Array.from(h, function (v) { return ("00000000" + (v >>> 0).toString(16)).slice(-8); }).join("");
  }
})();

var Module = typeof Module !== "undefined" ? Module : {};
Module.postRun = (Module.postRun || []).concat([function () {
  KvelmorPage.runtimeStarted();
  KvelmorPage.readyAt = performance.now();  // milliseconds since the navigation started
  KvelmorPage.ready = true;
}]);
Module.printErr = function (text) { console.error(text); };
// The WebAssembly did not compile or start: the file is damaged.
Module.onAbort = function () { if (window.kvelmorDamaged) window.kvelmorDamaged(); };
