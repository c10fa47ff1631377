// The chain's PNG saved from the explorer's panel: the pixels of the explorer's own picture of the
// chain (the same as kvelmor-export's outside the texts' boxes) with its title and scale number
// drawn over them by the browser, each within its box, as the window's scene labels are drawn
// over the run's saved picture (saving.js).
(function () {
  "use strict";
  var kv = KvelmorShared;
  var texts = [];  // the texts of the picture being saved, as the C++ side hands them over
  var lastTexts = [];

  KvelmorPage.addChainText = function (text) { texts.push(text); };

  function drawText(context, t, scale) {
    context.save();
    context.beginPath();
    context.rect(t.left * scale, t.top * scale, t.width * scale, t.height * scale);
    context.clip();
    context.fillStyle = "#000000";
    context.font = (t.bold ? "700 " : "400 ") + t.size * scale + "px " + t.fontFamily;
    context.textAlign = t.centred ? "center" : "left";
    context.textBaseline = "alphabetic";
    context.fillText(t.text, (t.centred ? t.left + t.width / 2 : t.left) * scale,
                     (t.top + t.baseline) * scale);
    context.restore();
  }

  KvelmorPage.saveChainPicture = function (name, rgba, width, height, scale) {
    var canvas = document.createElement("canvas");
    canvas.width = width;
    canvas.height = height;
    var context = canvas.getContext("2d");
    context.putImageData(new ImageData(new Uint8ClampedArray(rgba.buffer), width, height), 0, 0);
    texts.forEach(function (t) { drawText(context, t, scale); });
    lastTexts = texts;
    texts = [];
    canvas.toBlob(function (blob) { if (blob) kv.download(name, blob); }, "image/png");
  };

  // The texts of the chain's PNG saved last, each with its box in the picture's pixels.
  KvelmorPage.savedChainTexts = function () { return lastTexts; };
})();
