#pragma once

#include <QImage>
#include <string>

namespace kvelmor {

// The worksheet plot's SVG document (worksheet/plot.h) drawn as a picture `scale` (1, 2 or 4)
// times its size in pixels, on white; a null image when the document cannot be read.
QImage plotImage(const std::string& svg, int scale);

}  // namespace kvelmor
