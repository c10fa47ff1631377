#include "canvas/colours.h"

namespace kvelmor {

QColor resolveColour(Colour colour, const QPalette& palette)
{
    if (isSystemColour(colour)) {
        switch (colour - kSystemColourFlag) {
        case kButtonTextColour:
            return palette.color(QPalette::ButtonText);
        case kTitleBarTextColour:
            return Qt::white;  // its value in the classic desktop scheme
        default:
            return palette.color(QPalette::WindowText);
        }
    }
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

}  // namespace kvelmor
