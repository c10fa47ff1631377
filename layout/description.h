#pragma once

#include <string>
#include <string_view>

namespace kvelmor {

// What a screen reader says of the drawing area: its name, and a description of what the last
// run drew, in Czech.
inline constexpr std::string_view kPictureName = "Kresba pokusu";
inline constexpr std::string_view kEmptyPictureDescription =
    "Zatím prázdná. Klepněte na tlačítko Start.";

// The description after a run made with the settings boxes holding `frequencyText` and
// `distanceText`: the frequency and distance options named by their captions ("střední", "350").
std::string runDescription(std::string_view frequencyText, std::string_view distanceText);

}  // namespace kvelmor
