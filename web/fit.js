// Fitting: the page's parts arranged around the window, the whole window scaled by one factor to
// the largest size that fits the space they leave it, kept up to date through resizes, rotations,
// browser zooms, other screens and pinch zooms, and the device-pixel ratio the picture is made at
// for that fit.
//
// The page's parts other than the window (the bar; a panel that joins them goes between the
// window's area and the bar) stand either below the window, in the page's column, or beside it,
// in its row: whichever leaves the window larger. A phone held sideways, wider than the window's
// shape, so gives the window its whole height; a phone held upright, its whole width.
(function () {
  "use strict";
  var kv = KvelmorShared;
  var PINCH_SETTLE = 150;  // ms a pinch zoom rests before the picture is made at its new size
  // Beside the window only where that makes it this much larger: where the two are about even,
  // the parts stay below it, as on a desktop screen of the window's own shape.
  var BESIDE_GAIN = 1.02;

  // Told, with whether the page's parts stand beside the window, before each arrangement is
  // measured and once more when one is chosen: a panel sizes itself for it (explorer.js).
  kv.arranging = [];

  function scaleIn(box) {
    return Math.min(box.width / kv.windowWidth, box.height / kv.windowHeight);
  }

  // Tries both arrangements on the page as it is (both lay the page out at once, before it is
  // painted) and keeps the one that fits the window larger.
  function arrange() {
    var body = document.body;
    var tell = function (beside) { kv.arranging.forEach(function (told) { told(beside); }); };
    body.classList.remove("kv-beside");
    tell(false);
    var below = scaleIn(kv.area.getBoundingClientRect());
    body.classList.add("kv-beside");
    tell(true);
    var beside = scaleIn(kv.area.getBoundingClientRect());
    var chosen = beside > below * BESIDE_GAIN;
    body.classList.toggle("kv-beside", chosen);
    tell(chosen);
  }

  // The window centred in its area, its corner on a whole device pixel so that the picture's
  // pixels fall on the screen's. Runs before the browser paints a resize, a rotation, a zoom or a
  // new screen, also during a run.
  kv.fit = function () {
    if (!kv.root) return;
    arrange();
    var box = kv.area.getBoundingClientRect();
    var s = scaleIn(box);
    if (!(s > 0)) return;
    var dpr = window.devicePixelRatio || 1;
    var snap = function (v) { return Math.round(v * dpr) / dpr; };
    kv.scale = s;
    kv.area.style.setProperty("--kv-px", s + "px");
    kv.root.style.left = snap((box.width - kv.windowWidth * s) / 2) + "px";
    kv.root.style.top = snap((box.height - kv.windowHeight * s) / 2) + "px";
    showTargetSize();
    if (kv.runtimeReady) Module.ccall("kv_refit", null, [], []);
    kv.sizeCanvas();
  };

  function pinchScale() {
    return window.visualViewport && window.visualViewport.scale > 0 ? window.visualViewport.scale : 1;
  }

  // Whether the window's controls are shown smaller than in the desktop window at its own size:
  // its options then stand less than 16.5 CSS px apart, its scroll bar's thumb is under 17 px,
  // too close and too small for a finger to pick one reliably (a phone; on a tablet the window
  // is at least its own size). A tap on them then opens a large chooser (chooser.js); zoomed in
  // with two fingers to the window's own size or beyond, they are tapped directly again.
  kv.targetsSmall = function () { return kv.scale * pinchScale() < 1; };
  function showTargetSize() {
    kv.root.classList.toggle("kv-small-targets", kv.targetsSmall());
  }

  kv.watchTheFit = function () {
    // The area's size in device pixels changes with its CSS size and with the pixel ratio alike;
    // browsers that cannot watch device pixels watch its CSS size and the media query below.
    if (window.ResizeObserver) {
      var observer = new ResizeObserver(kv.fit);
      try {
        observer.observe(kv.area, {box: "device-pixel-content-box"});
      } catch (unsupported) {
        observer.observe(kv.area);
      }
    }
    window.addEventListener("resize", kv.fit);
    // A new device-pixel ratio (another screen, a browser zoom that leaves the area's CSS size).
    (function watchRatio() {
      var query = window.matchMedia("(resolution: " + (window.devicePixelRatio || 1) + "dppx)");
      var changed = function () {
        query.removeEventListener("change", changed);
        watchRatio();
        kv.fit();
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
        settle = setTimeout(kv.fit, PINCH_SETTLE);
        showTargetSize();
      });
    }
  };

  // Where the page's parts stand: "below" the window or "beside" it.
  KvelmorPage.arrangement = function () {
    return document.body.classList.contains("kv-beside") ? "beside" : "below";
  };

  // Device pixels to a logical pixel of the window as fitted: the picture is made at this ratio.
  KvelmorPage.pictureRatio = function () {
    return kv.scale * (window.devicePixelRatio || 1) * pinchScale();
  };
})();
