#pragma once

#include <optional>
#include <vector>

#include "explore/chainpicture.h"
#include "explore/explorer.h"

namespace kvelmor {

// A run's pattern as the explorer shows it beside its chain: the worksheet plot's bars and the
// continuous slit's curve, standing as the detector line stands (step 0 at the bottom, 220 at the
// top), the probability growing to the right.
struct PatternValues {
    std::vector<double> squaredLengths;  // one per step; NaN for a step not known (yet)
    std::vector<double> continuous;      // the same for the continuous slit
};

// The plot's colours: Okabe-Ito blue over light blue bars, the continuous slit in vermillion,
// the chosen step in black.
inline constexpr Colour kPatternBars = rgb(0xBF, 0xDC, 0xEC);
inline constexpr Colour kPatternEdge = rgb(0x00, 0x72, 0xB2);
inline constexpr Colour kPatternCurve = rgb(0xD5, 0x5E, 0x00);
inline constexpr Colour kPatternChosen = rgb(0, 0, 0);

// The pattern of `explorer`'s run as far as step `lastKnown` (a run still going; kLastStep once it
// has ended): the run's squared lengths and the continuous slit's, NaN beyond.
PatternValues patternOf(Explorer& explorer, int lastKnown);

// Draws `values` into `area` (pixels; the area is not filled) with the step `chosen` marked by a
// line across, when it is a step. The longest value known reaches the area's right edge.
void drawPattern(Surface& surface, const PatternValues& values, int chosen,
                 const PictureArea& area);

// The pixel row of the middle of a step's band in `area`.
double patternRow(const PictureArea& area, int step);

// The step whose band holds the point (x, y) of `area`; nothing outside the area.
std::optional<int> stepAtPatternPoint(const PictureArea& area, double x, double y);

// Where a view of the pattern `width` x `height` pixels large draws it: a few pixels in from
// every edge.
PictureArea patternArea(double width, double height);

// The step a pointer at height `y` of such a view picks: the step of the band at that height,
// anywhere across the view; above the pattern the top step, below it the bottom one.
int patternStepAt(double width, double height, double y);

}  // namespace kvelmor
