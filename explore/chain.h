#pragma once

#include <vector>

#include "run/phasor.h"

namespace kvelmor {

// A chain of arrows at a detector step: its first point is the detector point D, each next one
// the tip after one more arrow, and the last the tip of the sum, so that the last point minus the
// first is the sum arrow.
using Chain = std::vector<Point>;

// The chain of N arrows (2 to 2003) at the detector offset j: the straight arrow (length L), then
// the slit paths of slitHeightsFor(N), each arrow slitArrowLength(N) long, all turned by f times
// their path length, summed by the worksheet's processor-independent arithmetic. N = 2003 is the
// run's own chain, its last point the tip whose squared distance from D is the CSV's
// squared_length, bit for bit.
Chain arrowChain(const Scene& scene, const Wave& wave, double j, int paths);

// The continuous slit's chain at the detector offset j, the limit of arrowChain as N grows: D,
// the straight arrow's tip, then the running integral
//
//   T(s) = D + L e^{i f r_0} + (2002 L / 2000) \int_0^s (e^{i f r(c - u)} + e^{i f r(c + u)}) du
//
// with c = axisY, the slit's centre: from the centre outwards (s = 0 to 1000), both halves
// together as the run takes its paths, with the continuous slit's quadrature rule on `panels`
// panels (an even number), one point for each pair of panels. Its end is the continuous slit's sum
// to within rounding.
Chain continuousChain(const Scene& scene, const Wave& wave, double j, int panels);

}  // namespace kvelmor
