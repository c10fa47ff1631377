#pragma once

#include <map>
#include <string>

#include "layout/settings.h"

namespace kvelmor {

// The page as the settings actions see it: the settings boxes are hidden input fields of the
// page, the options radio buttons grouped by their frame.
class PageSettings final : public SettingsForm {
public:
    std::string boxText(SettingsBox box) const override;
    void setBoxText(SettingsBox box, const std::string& text) override;
    void selectOption(std::string_view option) override;

private:
    std::map<std::string, std::string, std::less<>> selected_;  // frame -> its selected option
};

}  // namespace kvelmor
