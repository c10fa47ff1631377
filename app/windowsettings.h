#pragma once

#include "layout/settings.h"

class QWidget;

namespace kvelmor {

// The window's settings boxes and option buttons, reached by name, as the settings actions see
// them.
class WindowSettings final : public SettingsForm {
public:
    explicit WindowSettings(QWidget& window) : window_(window) {}

    std::string boxText(SettingsBox box) const override;
    void setBoxText(SettingsBox box, const std::string& text) override;
    void selectOption(std::string_view option) override;

private:
    QWidget& window_;
};

}  // namespace kvelmor
