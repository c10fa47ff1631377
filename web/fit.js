// Fitting: the whole window scaled by one factor to the largest size that fits the space the page
// gives it, kept up to date through resizes, rotations, browser zooms, other screens and pinch
// zooms, and the device-pixel ratio the picture is made at for that fit.
(function () {
  "use strict";
  var kv = KvelmorShared;
  var PINCH_SETTLE = 150;  // ms a pinch zoom rests before the picture is made at its new size

  // The window centred in its area, its corner on a whole device pixel so that the picture's
  // pixels fall on the screen's. Runs before the browser paints a resize, a rotation, a zoom or a
  // new screen, also during a run.
  kv.fit = function () {
    if (!kv.root) return;
    var box = kv.area.getBoundingClientRect();
    var s = Math.min(box.width / kv.windowWidth, box.height / kv.windowHeight);
    if (!(s > 0)) return;
    var dpr = window.devicePixelRatio || 1;
    var snap = function (v) { return Math.round(v * dpr) / dpr; };
    kv.scale = s;
    kv.area.style.setProperty("--kv-px", s + "px");
    kv.root.style.left = snap((box.width - kv.windowWidth * s) / 2) + "px";
    kv.root.style.top = snap((box.height - kv.windowHeight * s) / 2) + "px";
    if (kv.runtimeReady) Module.ccall("kv_refit", null, [], []);
    kv.sizeCanvas();
  };

  function pinchScale() {
    return window.visualViewport && window.visualViewport.scale > 0 ? window.visualViewport.scale : 1;
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
      });
    }
  };

  // Device pixels to a logical pixel of the window as fitted: the picture is made at this ratio.
  KvelmorPage.pictureRatio = function () {
    return kv.scale * (window.devicePixelRatio || 1) * pinchScale();
  };
})();
