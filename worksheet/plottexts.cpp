#include "worksheet/plottexts.h"

namespace kvelmor {

PlotTexts plotTexts(Language language, std::string_view frequencyCaption, int distance)
{
    const auto words = [language](TextKey key) { return std::string(text(key, language)); };
    return {
        filled(text(TextKey::PlotTitle, language), {frequencyCaption, std::to_string(distance)}),
        words(TextKey::PlotHeightAxis),
        words(TextKey::PlotProbabilityAxis),
        words(TextKey::PlotArrows),
        words(TextKey::PlotContinuous),
        words(TextKey::PlotThousandsSeparator),
        words(TextKey::PlotDecimalSeparator)};
}

}  // namespace kvelmor
