#include "layout/description.h"

#include "layout/controls.h"
#include "layout/settings.h"
#include "run/numbertext.h"

namespace kvelmor {

namespace {

// The caption of the option of `box` that writes `text`, or the text itself when none does.
std::string captionFor(SettingsBox box, std::string_view text)
{
    for (const OptionAction& action : optionActions()) {
        if (action.box != box || numberText(action.value) != text) continue;
        if (const ControlRow* row = findControl(action.option)) return std::string(row->caption);
    }
    return std::string(text);
}

}  // namespace

std::string runDescription(std::string_view frequencyText, std::string_view distanceText)
{
    return "Ohyb světla na štěrbině, kmitočet fotonu " +
           captionFor(SettingsBox::nFi, frequencyText) + ", vzdálenost detektoru od clony " +
           captionFor(SettingsBox::nRozteč, distanceText) +
           ": optická lavice, 221 sloupců pravděpodobnosti na ose vpravo a řetězce šipek se "
           "zelenými šipkami součtu v každém dvacátém kroku.";
}

}  // namespace kvelmor
