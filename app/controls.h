#pragma once

#include <QColor>
#include <QFont>
#include <QWidget>

#include "layout/controls.h"

namespace kvelmor {

// A text of the layout table (UTF-8) as a QString.
QString qstring(std::string_view text);

// A text of the table of texts in `language`.
QString qtext(TextKey key, Language language);

// A font with every attribute set, `pixelSize` in logical pixels.
QFont makeFont(const QString& family, int pixelSize, bool bold);

// The grey of the window and of its labels, frames, options and buttons.
QColor backColour();

// The window's default font, used by the window and by every control without a font of its own.
QFont defaultFont();

// Says, once for each name, that `window` has no `typeName` called `name`: a fault of the program
// itself, since every name comes from the layout's tables.
void reportMissingControl(const QWidget& window, std::string_view name, const char* typeName);

// The control of `window` (or of one of its frames) called `name`, of type T. A name that the
// window lacks is reported with the name and gives nullptr, which every caller checks: a misspelt
// name shows as a message, never as a crash.
template <typename T>
T* controlNamed(const QWidget& window, std::string_view name)
{
    T* control = window.findChild<T*>(qstring(name));
    if (!control) reportMissingControl(window, name, T::staticMetaObject.className());
    return control;
}

// Creates every control of the main window as a child of `window` (or of its frame), with its
// object name, caption and accessible texts in `language`, geometry, font, colour, visibility and
// tab order. The settings boxes keep their placeholder texts and no option is selected: the
// window's load step does that.
void createControls(QWidget* window, Language language);

}  // namespace kvelmor
