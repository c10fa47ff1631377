#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "worksheet/plot.h"
#include "worksheet/table.h"

namespace kvelmor {

// What a teacher takes from a finished run for a worksheet, written by the same code in every
// front end (kvelmor-export and the browser page), so that both give the same bytes.
struct Worksheet {
    std::string csv;      // kvelmor-F-D.csv: the numbers of every detector step
    std::string plotSvg;  // kvelmor-F-D-plot.svg: the plot of those numbers
    int unsettledSteps;   // steps whose continuous slit did not settle at kMostSlitPanels
};

// The worksheet of the setting whose frequency box holds `frequencyText` ("0.6") and whose
// distance is `distance` (350), the plot's every word in `plotLanguage`, the frequency's caption
// among them: an English plot says "Photon frequency: medium" whatever the window's language.
// Nothing when no option of the window writes that text or that distance.
std::optional<Worksheet> worksheetFor(std::string_view frequencyText, int distance,
                                      Language plotLanguage);

// The caption in `language` of the frequency option that writes `frequencyText` ("0.6" ->
// "střední"); empty when none does.
std::string_view frequencyCaption(std::string_view frequencyText, Language language);

// What the plot draws of a setting's table: each step's height and its two squared lengths.
std::vector<PlotRow> plotRows(const std::vector<StepRow>& rows);

}  // namespace kvelmor
