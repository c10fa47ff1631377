#pragma once

#include <QColor>
#include <QFont>

#include "layout/controls.h"

class QWidget;

namespace kvelmor {

// A text of the layout table (UTF-8) as a QString.
QString qstring(std::string_view text);

// A font with every attribute set, `pixelSize` in logical pixels.
QFont makeFont(const QString& family, int pixelSize, bool bold);

// The grey of the window and of its labels, frames, options and buttons.
QColor backColour();

// The window's default font, used by the window and by every control without a font of its own.
QFont defaultFont();

// Creates every control of the main window as a child of `window` (or of its frame), with its
// object name, caption, geometry, font, colour, visibility and tab order. The settings boxes keep
// their placeholder texts and no option is selected: the window's load step does that.
void createControls(QWidget* window);

}  // namespace kvelmor
