#pragma once

#include "run/phasor.h"

namespace kvelmor {

// A detector step's sum of arrows for the worksheet: the same sum as sumArrows (the same paths,
// the same order of additions), but with the program's own cosine and sine (portablemath.h) and
// without contraction into fused multiply-adds, so that it gives the same bits on every processor
// and in WebAssembly. The cosines and sines of the step's arrows are computed all together first,
// several at a time.
StepSum portableStepSum(const Scene& scene, const Wave& wave, double j);

}  // namespace kvelmor
