#pragma once

#include "run/continuousslit.h"
#include "run/phasor.h"

namespace kvelmor {

// A detector step's sum of arrows and the continuous slit's squared length for the worksheet:
// the same sums as sumArrows and continuousSquaredLength (the same paths, the same order of
// additions, the same quadrature and refinement), but with the program's own cosine and sine
// (portablemath.h) and without contraction into fused multiply-adds, so that they give the same
// bits on every processor and in WebAssembly. The cosines and sines of a step's arrows, or of a
// quadrature's nodes, are computed all together first, several at a time.
StepSum portableStepSum(const Scene& scene, const Wave& wave, double j);
ContinuousSum portableContinuousSquaredLength(const Scene& scene, const Wave& wave, double j,
                                              double tolerance = 1e-10);

}  // namespace kvelmor
