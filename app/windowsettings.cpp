#include "app/windowsettings.h"

#include <QLineEdit>
#include <QRadioButton>
#include <QWidget>

#include "app/controls.h"

namespace kvelmor {

std::string WindowSettings::boxText(SettingsBox box) const
{
    return window_.findChild<QLineEdit*>(qstring(settingsBoxName(box)))->text().toStdString();
}

void WindowSettings::setBoxText(SettingsBox box, const std::string& text)
{
    window_.findChild<QLineEdit*>(qstring(settingsBoxName(box)))
        ->setText(QString::fromStdString(text));
}

// The option's toggled signal runs its action, as it does for a selection by the user.
void WindowSettings::selectOption(std::string_view option)
{
    window_.findChild<QRadioButton*>(qstring(option))->setChecked(true);
}

}  // namespace kvelmor
