#include "app/windowsettings.h"

#include <QLineEdit>
#include <QRadioButton>
#include <QWidget>

#include "app/controls.h"

namespace kvelmor {

std::string WindowSettings::boxText(SettingsBox box) const
{
    const auto* field = controlNamed<QLineEdit>(window_, settingsBoxName(box));
    return field ? field->text().toStdString() : std::string();
}

void WindowSettings::setBoxText(SettingsBox box, const std::string& text)
{
    if (auto* field = controlNamed<QLineEdit>(window_, settingsBoxName(box))) {
        field->setText(QString::fromStdString(text));
    }
}

// The option's toggled signal runs its action, as it does for a selection by the user.
void WindowSettings::selectOption(std::string_view option)
{
    if (auto* button = controlNamed<QRadioButton>(window_, option)) button->setChecked(true);
}

}  // namespace kvelmor
