#pragma once

#include <QWidget>

#include "layout/texts.h"

namespace kvelmor {

// The drawing area as assistive technology sees it: an image over the whole client area, beneath
// every control, that takes neither the mouse nor the focus and paints nothing itself (the window
// paints its picture). Its accessible description says what the last run drew.
class SceneImage final : public QWidget {
    Q_OBJECT

public:
    // Named and described in `language`.
    SceneImage(QWidget* window, Language language);

    // `description` in place of the one it had, told to assistive technology as a change of the
    // drawing's description, to be read out without taking the focus from where it is.
    void announce(const QString& description);
};

}  // namespace kvelmor
