#pragma once

#include <functional>

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

// The rule every quadrature of the slit uses: 8-point Gauss-Legendre on each panel (the nodes on
// [-1, 1] come in pairs +-x), starting from kFirstSlitPanels panels.
inline constexpr double kGaussNodes[4] = {0.1834346424956498, 0.5255324099163290,
                                          0.7966664774136267, 0.9602898564975363};
inline constexpr double kGaussWeights[4] = {0.3626837833783620, 0.3137066238314143,
                                            0.2223810344533745, 0.1012285362903763};
inline constexpr int kFirstSlitPanels = 256;

// \int e^{i f r(y)} dy over the slit, as real and imaginary part.
struct SlitIntegral {
    double re = 0;
    double im = 0;
};

// The refinement all of them share: p_c with the integral on kFirstSlitPanels, twice as many, ...
// panels, until two successive results differ by at most `tolerance` times (2003 L)^2 or
// kMostSlitPanels are reached. `straight` is (cos, sin) of f r_0; `integral(panels)` gives the
// integral on that many panels.
ContinuousSum refineContinuousSum(const Wave& wave, SlitIntegral straight,
                                  const std::function<SlitIntegral(int panels)>& integral,
                                  double tolerance);

// The integral by composite 8-point Gauss-Legendre quadrature on 256, 512, ... panels, until
// two successive results differ by at most `tolerance` times (2003 L)^2, the squared length of
// all arrows in line, or kMostSlitPanels are reached.
// On x86-64 processors with AVX2 the nodes are evaluated four at a time with glibc's vector
// cosines and sines; elsewhere by the scalar loop.
ContinuousSum continuousSquaredLength(const Scene& scene, const Wave& wave, double j,
                                      double tolerance = 1e-10);

// The same by the scalar loop on every processor, so that tests can hold the two against each
// other.
ContinuousSum continuousSquaredLengthScalar(const Scene& scene, const Wave& wave, double j,
                                            double tolerance = 1e-10);

}  // namespace kvelmor
