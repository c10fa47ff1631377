#pragma once

#include <string>
#include <string_view>

#include "layout/texts.h"

namespace kvelmor {

// Every word and number style of the worksheet plot in one place, in UTF-8.
struct PlotTexts {
    std::string title;               // "Kmitočet fotonu: střední, Detektor-Clona: 350"
    std::string heightAxis;          // the vertical axis: the detector height
    std::string probabilityAxis;     // the horizontal axis
    std::string arrows;              // the legend's name of the bars, the 2003 arrows' sum
    std::string continuous;          // the legend's name of the continuous slit's curve
    std::string thousandsSeparator;  // in the probability axis's numbers: "2 000" or "2,000"
    std::string decimalSeparator;    // "0,5" or "0.5"
};

// The plot's texts in `language`, for a setting: its frequency option's caption as the window
// shows it ("střední"; the window may speak another language than the plot) and its distance.
PlotTexts plotTexts(Language language, std::string_view frequencyCaption, int distance);

}  // namespace kvelmor
