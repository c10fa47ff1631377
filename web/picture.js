// The run's drawing on the canvas: the canvas beneath the window's controls, made at the pixel
// size the C++ side draws its picture at and shown one screen pixel to a picture pixel, and the
// rectangles of the picture's pixels copied onto it as the run draws.
(function () {
  "use strict";
  var kv = KvelmorShared;
  var canvas = null;
  var context = null;
  var picture = {width: 0, height: 0, ratio: 1};

  kv.addCanvas = function (root) {
    canvas = document.createElement("canvas");
    canvas.className = "kv-picture";
    canvas.setAttribute("role", "img");
    root.appendChild(canvas);
  };

  // Shown at one screen pixel per picture pixel: its CSS size is its pixel size over the device
  // pixels to a CSS pixel it was made for.
  kv.sizeCanvas = function () {
    if (!canvas || !picture.width) return;
    var cssPerPixel = kv.scale / picture.ratio;
    canvas.style.width = picture.width * cssPerPixel + "px";
    canvas.style.height = picture.height * cssPerPixel + "px";
  };

  KvelmorPage.createPicture = function (width, height, ratio) {
    canvas.width = width;
    canvas.height = height;
    picture = {width: width, height: height, ratio: ratio};
    kv.sizeCanvas();
    context = canvas.getContext("2d");
  };

  // The rectangle (x, y, w, h) of the picture's `width` x `height` RGBA pixels at `address` of
  // the program's memory, copied onto the canvas.
  KvelmorPage.showPixels = function (heap, address, width, height, x, y, w, h) {
    var pixels = new Uint8ClampedArray(heap.buffer, address, width * height * 4);
    context.putImageData(new ImageData(pixels, width, height), 0, 0, x, y, w, h);
  };

  // Before a run the picture's name says what it is; after it, what the run drew.
  KvelmorPage.setPictureTexts = function (name, description) {
    canvas.setAttribute("aria-label", name);
    kv.describe(canvas, description);
  };
})();
