// The explorer panel's controls: the height slider with a step button at either end, the pattern
// that a pointer picks a height on, the count's buttons, the two sweeps at the display's frames,
// the saving buttons and the close button; and a click or a tap on the window's drawing after a
// run. Each hands its action to the C++ side, which answers with what the panel shows. While a
// run lasts nothing of the panel takes input (input.js drops it: the panel is guarded), and
// before the first run only its close button does.
(function () {
  "use strict";
  var kv = KvelmorShared;
  var ex = kv.explorer;
  var LAST_STEP = 220;
  var PAGE_STEP = 20;  // PgUp and PgDn: from one of the run's drawn chains to the next
  // How far beside the detector line or a bar a mouse click still picks it, in the window's
  // logical pixels, as on the desktop; a finger reaches as far as it does for the window's controls.
  var MOUSE_REACH = 6;
  var TWIPS = 15;  // twips to a logical pixel
  var shown = {step: 110, choice: 0, sweep: 0, enabled: false};
  var frameAsked = false;

  function blocked() { return kv.blocked() || !shown.enabled; }

  function chooseStep(step) {
    step = Math.max(0, Math.min(LAST_STEP, step));
    if (!blocked() && step !== shown.step) kv.call("kv_exploreStep", ["number"], [step]);
  }

  // -- the height: the slider, its step buttons and the pattern --------------------------------

  function onSliderKey(event) {
    var to = {ArrowLeft: -1, ArrowDown: -1, ArrowRight: 1, ArrowUp: 1, PageUp: PAGE_STEP,
              PageDown: -PAGE_STEP}[event.key];
    var step = event.key === "Home" ? 0 : event.key === "End" ? LAST_STEP
             : to !== undefined ? shown.step + to : null;
    if (step === null || event.altKey || event.ctrlKey || event.metaKey) return;
    event.preventDefault();
    chooseStep(step);
  }

  // The step a pointer at client y stands for on the slider: its thumb's middle at the step's
  // place, the bottom step at the bottom.
  function sliderStep(slider, y) {
    var r = slider.getBoundingClientRect();
    var thumb = slider.firstChild.getBoundingClientRect().height;
    var room = r.height - thumb;
    if (room <= 0) return shown.step;
    return Math.round(LAST_STEP * (1 - (y - r.top - thumb / 2) / room));
  }

  // A pointer pressed on `target` picks a step at once and as it moves, until it is lifted.
  function followPointer(target, stepAt) {
    target.addEventListener("pointerdown", function (event) {
      if (blocked() || (event.pointerType === "mouse" && event.button !== 0)) return;
      event.preventDefault();
      if (target.tabIndex >= 0) target.focus({preventScroll: true});
      var pick = function (e) { if (!blocked()) stepAt(e.clientY); };
      pick(event);
      kv.follow(target, event.pointerId, {move: pick, end: function () {}});
    });
  }

  function showHeight(step, text) {
    var slider = document.getElementById("kv-ex-height");
    slider.setAttribute("aria-valuenow", String(step));
    slider.setAttribute("aria-valuetext", text);
    slider.firstChild.style.bottom = "calc((100% - var(--kv-ex-thumb)) * " + step / LAST_STEP + ")";
  }

  // -- the count -------------------------------------------------------------------------------

  function chooseCount(choice) {
    if (!blocked() && choice >= 0 && choice < ex.choices.length)
      kv.call("kv_exploreCount", ["number"], [choice]);
  }

  // The arrow keys go to the next count or the one before, Home and End to the ends, the focus
  // following the choice.
  function onCountKey(event) {
    var to = {ArrowLeft: -1, ArrowUp: -1, ArrowRight: 1, ArrowDown: 1}[event.key];
    var choice = event.key === "Home" ? 0 : event.key === "End" ? ex.choices.length - 1
               : to !== undefined ? shown.choice + to : null;
    if (choice === null || event.altKey || event.ctrlKey || event.metaKey) return;
    event.preventDefault();
    choice = Math.max(0, Math.min(ex.choices.length - 1, choice));
    chooseCount(choice);
    ex.choices[shown.choice].focus({preventScroll: true});
  }

  function showCount(choice) {
    ex.choices.forEach(function (b, i) {
      b.setAttribute("aria-checked", i === choice ? "true" : "false");
      b.tabIndex = i === choice ? 0 : -1;
    });
  }

  // -- the sweeps: one call a display frame while one goes, or while a run is followed ---------

  KvelmorPage.requestExplorerFrame = function () {
    if (frameAsked) return;
    frameAsked = true;
    requestAnimationFrame(function () {
      frameAsked = false;
      if (kv.ended) return;
      if (Module.ccall("kv_exploreFrame", "number", ["number"], [performance.now()]))
        KvelmorPage.requestExplorerFrame();
    });
  };

  function sweep(kind) {
    if (!blocked()) kv.call("kv_exploreSweep", ["number", "number"], [kind, performance.now()]);
  }

  // -- what the C++ side shows -----------------------------------------------------------------

  KvelmorPage.setExplorerState = function (step, heightText, choice, sweeping) {
    shown.step = step;
    shown.choice = choice;
    shown.sweep = sweeping;
    showHeight(step, heightText);
    showCount(choice);
    document.getElementById("kv-ex-sweep-paths").setAttribute("aria-pressed",
                                                              sweeping === 1 ? "true" : "false");
    document.getElementById("kv-ex-sweep-height").setAttribute("aria-pressed",
                                                               sweeping === 2 ? "true" : "false");
  };

  function showEnabled() {
    var off = !shown.enabled || kv.running;
    ex.panel.classList.toggle("kv-ex-off", off);
    ex.panel.classList.toggle("kv-ex-busy", kv.running);
    ex.panel.querySelectorAll("button, select, [role=slider]").forEach(function (e) {
      var works = e.id === "kv-ex-close" ? !kv.running : !off;
      e.setAttribute("aria-disabled", works ? "false" : "true");
    });
  }

  KvelmorPage.setExplorerEnabled = function (enabled) {
    if (shown.enabled === enabled && ex.panel.dataset.told) return;
    ex.panel.dataset.told = "true";
    shown.enabled = enabled;
    showEnabled();
  };

  // -- the pictures' sizes ---------------------------------------------------------------------

  function pinchScale() {
    return window.visualViewport && window.visualViewport.scale > 0 ? window.visualViewport.scale : 1;
  }

  // Tells the C++ side the pictures' sizes in CSS pixels and the device pixels to one, when they
  // changed: it draws them afresh at that size, so that they stay sharp.
  ex.measure = function () {
    if (!ex.panel || ex.panel.hidden) return;
    var chain = ex.panel.querySelector(".kv-ex-chain-box");
    var pattern = ex.panel.querySelector(".kv-ex-pattern-box");
    var sizes = [chain.clientWidth, chain.clientHeight, pattern.clientWidth, pattern.clientHeight,
                 (window.devicePixelRatio || 1) * pinchScale()];
    if (sizes.join() === ex.sized) return;
    ex.sized = sizes.join();
    Module.ccall("kv_exploreResize", null, ["number", "number", "number", "number", "number"], sizes);
  };

  // -- the window's drawing --------------------------------------------------------------------

  // After a run, a click or a tap on the detector line, the probability axis or a bar picks that
  // step (the C++ side decides what it hit). A tap that pressed a control beside it picks nothing.
  function onWindowClick(event) {
    if (event.target !== kv.root || kv.blocked()) return;
    var touch = event.pointerType && event.pointerType !== "mouse";
    if (touch && KvelmorPage.touchTargetAt(event.clientX, event.clientY)) return;
    var r = kv.root.getBoundingClientRect();
    var reach = touch ? kv.TOUCH_REACH / (kv.scale * pinchScale()) : MOUSE_REACH;
    kv.call("kv_explorePick", ["number", "number", "number"],
            [(event.clientX - r.left) / kv.scale * TWIPS, (event.clientY - r.top) / kv.scale * TWIPS,
             reach * TWIPS]);
  }

  kv.watchExplorer = function () {
    var parts = ex.parts;
    var slider = parts["kv-ex-height"];
    slider.setAttribute("role", "slider");
    slider.setAttribute("aria-orientation", "vertical");
    slider.setAttribute("aria-valuemin", "0");
    slider.setAttribute("aria-valuemax", String(LAST_STEP));
    slider.tabIndex = 0;
    slider.addEventListener("keydown", onSliderKey);
    followPointer(slider, function (y) { chooseStep(sliderStep(slider, y)); });
    followPointer(parts["kv-ex-pattern"], function (y) {
      if (!blocked())
        kv.call("kv_explorePattern", ["number"], [y - parts["kv-ex-pattern"].getBoundingClientRect().top]);
    });
    parts["kv-ex-up"].addEventListener("click", function () { chooseStep(shown.step + 1); });
    parts["kv-ex-down"].addEventListener("click", function () { chooseStep(shown.step - 1); });
    ex.choices.forEach(function (b, i) {
      b.addEventListener("click", function () { chooseCount(i); });
      b.addEventListener("keydown", onCountKey);
    });
    parts["kv-ex-sweep-paths"].addEventListener("click", function () { sweep(1); });
    parts["kv-ex-sweep-height"].addEventListener("click", function () { sweep(2); });
    ["kv-ex-save-png", "kv-ex-save-svg", "kv-ex-save-csv"].forEach(function (id, kind) {
      parts[id].addEventListener("click", function () {
        if (!blocked()) kv.call("kv_exploreSave", ["number", "number"], [kind, Number(parts["kv-ex-scale"].value)]);
      });
    });
    parts["kv-ex-close"].addEventListener("click", function () {
      if (!kv.blocked()) kv.call("kv_exploreClose", [], []);
    });
    if (window.ResizeObserver) {
      var observer = new ResizeObserver(function () { ex.measure(); });
      observer.observe(ex.panel.querySelector(".kv-ex-chain-box"));
      observer.observe(ex.panel.querySelector(".kv-ex-pattern-box"));
    }
    kv.arranging.push(function () { requestAnimationFrame(ex.measure); });
    kv.root.addEventListener("click", onWindowClick);
    kv.onRunning.push(showEnabled);
    showEnabled();
  };

  // The chosen step and count's place as the panel's controls show them.
  KvelmorPage.explorerChoice = function () { return [shown.step, shown.choice, shown.sweep]; };
})();
