#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <string>

namespace kvelmor {

// An SVG document that the program wrote (the worksheet plot) drawn as a picture of `size`
// pixels, `scale` (1, 2 or 4) device pixels to a pixel, on white, smoothed; a null image when the
// document cannot be read.
QImage svgPicture(const std::string& svg, QSize size, int scale);

// A picture as the bytes of a PNG file; empty when it cannot be encoded (no memory, say).
QByteArray pngBytes(const QImage& image);

}  // namespace kvelmor
