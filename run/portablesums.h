#pragma once

#include "run/phasor.h"

namespace kvelmor {

// A detector step's sum of arrows for the worksheet: the same sum as sumArrows (the same paths,
// the same order of additions), by the SumPath::portable path, whose bits are the same on every
// processor and in WebAssembly.
StepSum portableStepSum(const Scene& scene, const Wave& wave, double j);

}  // namespace kvelmor
