#pragma once

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
    double squaredLength;
    int panels;  // how finely the slit had to be sampled: panels of 8 Gauss-Legendre points
};

// The integral by composite 8-point Gauss-Legendre quadrature on 256, 512, ... panels, until
// two successive results differ by at most `tolerance` times (2003 L)^2, the squared length of
// all arrows in line.
// On x86-64 processors with AVX2 the nodes are evaluated four at a time with glibc's vector
// cosines and sines; elsewhere by the scalar loop.
ContinuousSum continuousSquaredLength(const Scene& scene, const Wave& wave, double j,
                                      double tolerance = 1e-10);

// The same by the scalar loop on every processor, so that tests can hold the two against each
// other.
ContinuousSum continuousSquaredLengthScalar(const Scene& scene, const Wave& wave, double j,
                                            double tolerance = 1e-10);

}  // namespace kvelmor
