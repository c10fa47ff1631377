#pragma once

#include <QColor>
#include <QPalette>

#include "canvas/surface.h"

namespace kvelmor {

// The colour a surface draws for `colour`: 0x00BBGGRR as it stands, a system colour from the
// desktop's palette (button text for the fore colour), white for the title-bar text, which the
// toolkit does not know.
QColor resolveColour(Colour colour, const QPalette& palette);

}  // namespace kvelmor
