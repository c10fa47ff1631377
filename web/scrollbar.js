// The scroll bar, of the desktop's kind: two arrow buttons, a track and a thumb, worked alike by
// mouse, finger and pen, by the wheel and by the desktop scroll bar's keys. Its value is reported
// to the C++ side after every change by an arrow, a key or a track press, and after a drag only
// when the thumb is released.
(function () {
  "use strict";
  var kv = KvelmorShared;
  var TOUCH_THUMB = 24;  // the thumb under a finger or a pen, in CSS pixels wide
  // A held scroll arrow or track repeats its step as a desktop scroll bar does.
  var REPEAT_DELAY = 400;
  var REPEAT_EVERY = 50;
  var scrollBars = Object.create(null);
  kv.scrollBars = scrollBars;  // name -> {element, value, min, max, small, large, change(value)}

  kv.makeScrollBar = function (c) {
    var e = document.createElement("div");
    e.className = "kv-scrollbar";
    e.setAttribute("role", "scrollbar");
    e.setAttribute("aria-orientation", "horizontal");
    e.setAttribute("aria-label", c.accessibleName);
    kv.showCaption[c.name] = function (caption, accessibleName) {
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
    kv.focusables[c.name] = e;

    function change(value) {
      if (kv.blocked()) return;
      value = Math.max(bar.min, Math.min(bar.max, Math.round(value)));
      if (value === bar.value) return;
      bar.value = value;
      showScroll(bar, value);
      kv.call("kv_scrollChanged", ["number"], [value]);
    }
    bar.change = change;

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
      var reach = event.pointerType === "mouse" ? 0 : kv.TOUCH_REACH;
      return event.clientY >= r.top - reach && event.clientY < r.bottom + reach;
    }

    function drag(event, capture) {
      var t = thumb.getBoundingClientRect();
      var start = {x: event.clientX, left: t.left - track.getBoundingClientRect().left};
      var value = bar.value;
      kv.follow(capture, event.pointerId, {
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
        if (kv.blocked()) return;
        if (over()) step();
        timer = setTimeout(again, REPEAT_EVERY);
      }, REPEAT_DELAY);
      kv.follow(capture, event.pointerId, {
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
      if (event.button !== 0 || kv.blocked()) return;
      bar.press(event, e);
    });
    kv.addTouchTarget(e, bar.press);

    // The wheel moves it as the desktop's does: three small steps a notch, but never more than
    // a large step (here one), one change per notch; turned towards the user, to the right.
    e.addEventListener("wheel", function (event) {
      var delta = event.deltaY || event.deltaX;
      if (!delta || kv.blocked()) return;
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
  };

  // The thumb stands at its share of the track's free length, whatever the window's scale.
  function showScroll(bar, value) {
    var share = bar.max > bar.min ? (value - bar.min) / (bar.max - bar.min) : 0;
    bar.thumb.style.left = "calc((100% - " + kv.u(17) + ") * " + share + ")";
    bar.element.setAttribute("aria-valuenow", String(Math.round(value)));
  }

  KvelmorPage.setScrollRange = function (name, min, max, small, large) {
    var bar = kv.named(scrollBars, name, "scroll bar");
    bar.min = min; bar.max = max; bar.small = small; bar.large = large; bar.value = min;
    bar.element.setAttribute("aria-valuemin", String(min));
    bar.element.setAttribute("aria-valuemax", String(max));
  };

  KvelmorPage.setScrollValue = function (name, value) {
    var bar = kv.named(scrollBars, name, "scroll bar");
    bar.value = Math.max(bar.min, Math.min(bar.max, value));
    showScroll(bar, bar.value);
  };

  // Every control is made: the thumbs stand at their values.
  KvelmorPage.finishWindow = function () {
    Object.keys(scrollBars).forEach(function (n) { showScroll(scrollBars[n], scrollBars[n].value); });
  };
})();
