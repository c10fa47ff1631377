#pragma once

#include <string>
#include <vector>

#include "worksheet/plottexts.h"

namespace kvelmor {

// One detector step of a run: where the detector point stood and the two squared lengths, the
// sum of the 2003 arrows and the same sum for a continuous slit.
struct PlotRow {
    double detectorY;  // twips, 1500 (top) to 7000 (bottom)
    double squaredLength;
    double continuousSquaredLength;
};

// The plot's size in pixels: as tall as the window's client area, so that at its 15 twips to a
// pixel a detector height lies on the same pixel row here as on the detector line of the run's
// picture.
inline constexpr int kPlotWidth = 520;
inline constexpr int kPlotHeight = 560;

// The worksheet plot of one setting as a whole SVG document (UTF-8): the detector height on the
// vertical axis, oriented and scaled as the detector line in the window (1500 twips at the top,
// 7000 at the bottom), the probability on the horizontal axis; the 2003 arrows' squared lengths
// as a blue step line over light blue bars, the continuous slit's as an orange-red curve under
// the step line, with a legend, axis titles and a title. Rows with a value that is not a number
// are left out. The same rows and texts give the same bytes, wherever the plot is made.
std::string plotSvg(const std::vector<PlotRow>& rows, const PlotTexts& texts);

}  // namespace kvelmor
