#include "layout/description.h"

#include "layout/controls.h"
#include "layout/settings.h"
#include "run/numbertext.h"

namespace kvelmor {

namespace {

// The caption of the option of `box` that writes `text`, or the text itself when none does.
std::string_view captionFor(SettingsBox box, std::string_view text, Language language)
{
    for (const OptionAction& action : optionActions()) {
        if (action.box != box || numberText(action.value) != text) continue;
        if (const ControlRow* row = findControl(action.option)) {
            return kvelmor::text(row->caption, language);
        }
    }
    return text;
}

}  // namespace

std::string runDescription(std::string_view frequencyText, std::string_view distanceText,
                           Language language)
{
    return filled(text(TextKey::PictureAfterRun, language),
                  {captionFor(SettingsBox::nFi, frequencyText, language),
                   captionFor(SettingsBox::nRozteč, distanceText, language)});
}

}  // namespace kvelmor
