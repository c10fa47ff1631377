// Saving from the page: the C++ side gives the bytes of a file (web/pagesaving.cpp), and the
// browser saves them under their name through a link to a Blob, so nothing leaves the machine.
// The picture comes as pixels; the browser draws the scene labels over them in the window's fonts
// and makes the PNG.
(function () {
  "use strict";
  var kv = KvelmorShared;
  var KEEP_FOR = 60000;  // ms a saved file's data is kept for the browser to finish with it

  function download(name, blob) {
    var url = URL.createObjectURL(blob);
    var link = document.createElement("a");
    link.href = url;
    link.download = name;
    link.hidden = true;
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(function () { URL.revokeObjectURL(url); }, KEEP_FOR);
  }

  kv.download = download;

  KvelmorPage.saveFile = function (name, type, bytes) {
    download(name, new Blob([bytes], {type: type}));
  };

  // A label as the desktop window draws it: an opaque box of the window's colour with its text
  // from the top left, wrapped at its width, a line its font's height, and nothing outside the box.
  function drawLabel(context, box, ratio, background) {
    var x = box.left * ratio, y = box.top * ratio;
    var width = box.width * ratio, height = box.height * ratio;
    var size = box.fontSize * ratio;
    context.save();
    context.beginPath();
    context.rect(x, y, width, height);
    context.clip();
    context.fillStyle = background;
    context.fillRect(x, y, width, height);
    context.fillStyle = "#000000";
    context.font = (box.bold ? "700 " : "400 ") + size + "px " + box.fontFamily;
    context.textBaseline = "alphabetic";
    var metrics = context.measureText("Hy");
    var ascent = metrics.fontBoundingBoxAscent || size * 0.9;
    var lineHeight = ascent + (metrics.fontBoundingBoxDescent || size * 0.25);
    var lines = [];
    box.text.split(" ").forEach(function (word) {
      var longer = lines.length ? lines[lines.length - 1] + " " + word : word;
      if (lines.length && context.measureText(longer).width <= width) lines[lines.length - 1] = longer;
      else lines.push(word);
    });
    lines.forEach(function (line, i) {
      context.fillText(line, x, y + ascent + i * lineHeight);
    });
    context.restore();
  }

  KvelmorPage.savePicture = function (name, rgba, width, height, ratio, labels, background) {
    var canvas = document.createElement("canvas");
    canvas.width = width;
    canvas.height = height;
    var context = canvas.getContext("2d");
    context.putImageData(new ImageData(new Uint8ClampedArray(rgba.buffer), width, height), 0, 0);
    labels.forEach(function (label) {
      drawLabel(context, KvelmorPage.labelBox(label), ratio, background);
    });
    canvas.toBlob(function (blob) { if (blob) download(name, blob); }, "image/png");
  };
})();
