#pragma once

#include <optional>
#include <vector>

#include "run/scene.h"

namespace kvelmor {

// The detector step a click or tap on the window's drawing picks after a run of `scene`: the step
// whose height lies nearest to the point (x, y), in twips, when the point lies on the detector
// line, on the probability axis or on the bar of a step near it, within `reach` twips (a
// finger's width on a touch screen, a few pixels for a mouse). `barLengths` are the run's bars,
// in twips, one per step. Nothing for a point anywhere else.
std::optional<int> stepAtWindowPoint(const Scene& scene, const std::vector<double>& barLengths,
                                     double x, double y, double reach);

}  // namespace kvelmor
