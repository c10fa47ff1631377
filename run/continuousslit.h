#pragma once

#include "run/gausslegendre.h"
#include "run/lanekernels.h"
#include "run/phasor.h"

namespace kvelmor {

// The detection probability for a continuous slit: the 2002 path arrows of a step spread evenly
// over the slit instead of standing on whole twips,
//
//   p_c = | L e^{i f r_0} + (2002 L / 2000) \int_{2500}^{4500} e^{i f r(y)} dy |^2,
//   r(y) = sqrt((screenX - detectorX)^2 + (y - D_y)^2),
//
// with the same straight arrow r_0 = detectorX - screenX. Where the discrete sum and p_c agree,
// 2003 arrows are enough; at high frequencies, far from the centre, they are not.
struct ContinuousSum {
    double squaredLength;  // the finest value reached
    int panels;            // how finely the slit was sampled: panels of 8 Gauss-Legendre points
    bool settled;          // false: still changing at kMostSlitPanels, the finest sampling tried
};

// The refinement stops at this many panels, settled or not, so that a quadrature that never
// settles costs a bounded time. The settings need at most 2048 (the highest frequency).
inline constexpr int kMostSlitPanels = 1 << 14;

// The quadrature (kGaussNodes, kGaussWeights) starts from this many panels.
inline constexpr int kFirstSlitPanels = 256;

// The integral by composite 8-point Gauss-Legendre quadrature on 256, 512, ... panels, until
// two successive results differ by at most `tolerance` times (2003 L)^2, the squared length of
// all arrows in line, or kMostSlitPanels are reached. The cosines and sines are the program's own
// (portablemath.h), the nodes are added up one after another in the rule's order, and nothing is
// contracted into fused multiply-adds, so the result has the same bits on every processor and in
// WebAssembly: the worksheet's numbers are the same in both front ends. The nodes are computed
// several at a time, by the kernels of the processor's widest instruction set (lanekernels.h).
ContinuousSum continuousSquaredLength(const Scene& scene, const Wave& wave, double j,
                                      double tolerance = 1e-10);

// The same by the kernels of `set` (the baseline's where `set` is not available): the same bits.
ContinuousSum continuousSquaredLengthBy(lanes::LaneSet set, const Scene& scene, const Wave& wave,
                                        double j, double tolerance = 1e-10);

}  // namespace kvelmor
