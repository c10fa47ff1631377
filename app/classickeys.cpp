#include "app/classickeys.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <vector>

#include "app/controls.h"

namespace kvelmor {

namespace {

// The option `steps` places after `option` in its frame's order (before it, for negative
// steps), counting round from one end to the other.
QRadioButton* neighbour(QRadioButton* option, int steps)
{
    const ControlRow* row = findControl(option->objectName().toStdString());
    QWidget* frame = option->parentWidget();
    if (!row || !frame) return nullptr;
    std::vector<QRadioButton*> group;
    for (const ControlRow& other : controlRows()) {
        if (other.kind != ControlKind::Option || other.container != row->container) continue;
        if (auto* button = frame->findChild<QRadioButton*>(qstring(other.name))) {
            group.push_back(button);
        }
    }
    const auto n = int(group.size());
    for (int i = 0; i < n; ++i) {
        if (group[i] == option) return group[((i + steps) % n + n) % n];
    }
    return nullptr;
}

int arrowSteps(int key)
{
    switch (key) {
    case Qt::Key_Down:
    case Qt::Key_Right:
        return 1;
    case Qt::Key_Up:
    case Qt::Key_Left:
        return -1;
    default:
        return 0;
    }
}

}  // namespace

void ClassicKeys::watchControlsOf(QWidget* window)
{
    for (QRadioButton* option : window->findChildren<QRadioButton*>()) {
        option->installEventFilter(this);
    }
    for (QPushButton* button : window->findChildren<QPushButton*>()) {
        button->installEventFilter(this);
    }
}

bool ClassicKeys::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);

    // Arrows move through the group whatever modifier is held, so that the toolkit's own arrow
    // handling, which goes by the options' places on the screen, never takes over.
    if (auto* option = qobject_cast<QRadioButton*>(watched)) {
        const int steps = arrowSteps(key->key());
        if (steps == 0) return false;
        if (QRadioButton* next = neighbour(option, steps)) {
            next->setFocus(Qt::TabFocusReason);
            next->setChecked(true);  // its toggled signal runs its action
        }
        return true;
    }
    if (auto* button = qobject_cast<QPushButton*>(watched)) {
        if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return false;
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
        // A held Enter presses once: the repeats would start a second run straight after the
        // first.
        if (!key->isAutoRepeat()) button->click();
        return true;
    }
    return false;
}

}  // namespace kvelmor
