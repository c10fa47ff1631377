#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "layout/texts.h"

namespace kvelmor {

// What a screen reader says of the drawing area: its name (TextKey::PictureName), before any run
// TextKey::PictureEmpty, and after a run what that run drew.

// The description after a run made with the settings boxes holding `frequencyText` and
// `distanceText`: the frequency and distance options named by their captions in `language`
// ("střední", "350").
std::string runDescription(std::string_view frequencyText, std::string_view distanceText,
                           Language language);

// Where a run's pattern has its central maximum and its first minima on the detector line, as
// heights in twips from the window's top (the plot's and the CSV's detector heights, 7000 at the
// first step, 1500 at the last).
struct PatternSummary {
    int maximum;  // the step with the largest squared length: the longest bar
    // Away from the maximum, towards the line's top and its bottom: where the squared lengths,
    // having fallen below a tenth of the maximum, first rise again; nothing where they do not
    // before the line's end.
    std::optional<int> minimumAbove;
    std::optional<int> minimumBelow;
};

// `squaredLengths` are the run's 221 sums from the first step (the bottom) to the last. Where
// neighbouring steps are equal, the first of them counts: the lowest maximum, the farthest minima.
PatternSummary summarisePattern(std::span<const double> squaredLengths);

// What a screen reader hears when a run with the boxes holding `frequencyText` and
// `distanceText` has finished: the setting, and where the pattern's central maximum and first
// minima lie (the run's sums computed again, a millisecond or so).
std::string runSummary(std::string_view frequencyText, std::string_view distanceText,
                       Language language);

}  // namespace kvelmor
