#pragma once

#include <vector>

#include "run/phasor.h"

namespace kvelmor {

// A detector step's sum of arrows for the worksheet: the same sum as sumArrows (the same paths,
// the same order of additions), but with the program's own cosine and sine (portablemath.h) and
// without contraction into fused multiply-adds, so that it gives the same bits on every processor
// and in WebAssembly. The cosines and sines of the step's arrows are computed all together first,
// several at a time. With `chain`, it receives the kChainPoints points D, T_1, ..., T_2003, each
// the running sum of the arrows before it.
StepSum portableStepSum(const Scene& scene, const Wave& wave, double j,
                        std::vector<Point>* chain = nullptr);

// The heights of the slit points of a step's 2002 paths in the order the sum takes them: for
// k = 0..1000 the upper point axisY - k, then the lower one axisY + k.
const std::vector<double>& runSlitHeights();

// The same arithmetic for any choice of paths: from D = (detectorX, benchBottom - j), the
// straight arrow of length L, then for each height y of `slitHeights` in turn an arrow of length
// `slitArrowLength` turned by f sqrt((screenX - detectorX)^2 + (y - D_y)^2). With the run's
// heights and slitArrowLength = L it is portableStepSum, bit for bit. With `chain`, it receives D
// and the tip after each arrow.
StepSum portablePathSum(const Scene& scene, const Wave& wave, double j,
                        const std::vector<double>& slitHeights, double slitArrowLength,
                        std::vector<Point>* chain = nullptr);

}  // namespace kvelmor
