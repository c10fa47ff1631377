#pragma once

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

}  // namespace kvelmor
