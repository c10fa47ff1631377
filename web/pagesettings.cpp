#include "web/pagesettings.h"

#include "layout/controls.h"
#include "web/jsbindings.h"

namespace kvelmor {

std::string PageSettings::boxText(SettingsBox box) const
{
    return js::boxText(std::string(settingsBoxName(box)));
}

void PageSettings::setBoxText(SettingsBox box, const std::string& text)
{
    js::setBoxText(std::string(settingsBoxName(box)), text);
}

// Only the selected option of a frame is a tab stop, at its own tab index: Tab enters a group at
// its selection, as on the desktop.
void PageSettings::selectOption(std::string_view option)
{
    const ControlRow* row = findControl(option);
    if (!row || row->kind != ControlKind::Option)
        js::failUnknownName("option", std::string(option));
    std::string& selected = selected_[std::string(row->container)];
    if (selected == option) return;
    if (!selected.empty()) js::setOptionSelected(selected, false, -1);
    selected = option;
    js::setOptionSelected(selected, true, row->tabIndex);
    optionSelected(*this, option);
}

}  // namespace kvelmor
