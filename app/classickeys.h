#pragma once

#include <QObject>

namespace kvelmor {

// Keys as a classic desktop window handles them on its controls. The arrow keys move the
// selection through an option group in its frame's order, top to bottom, wrapping at both ends:
// Down and Right to the next option, Up and Left to the previous one; the focus follows and the
// option's action runs, exactly as for a click. Enter (Return or the keypad's) presses a focused
// push button, as Space does. No other key is taken.
class ClassicKeys final : public QObject {
public:
    using QObject::QObject;

    // Handles the keys of every option button and push button of `window`.
    void watchControlsOf(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace kvelmor
