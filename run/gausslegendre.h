#pragma once

namespace kvelmor {

// The continuous slit's quadrature rule: 8-point Gauss-Legendre on each panel, the nodes on
// [-1, 1] in pairs +-x.
inline constexpr double kGaussNodes[4] = {0.1834346424956498, 0.5255324099163290,
                                          0.7966664774136267, 0.9602898564975363};
inline constexpr double kGaussWeights[4] = {0.3626837833783620, 0.3137066458778873,
                                            0.2223810344533745, 0.1012285362903763};

}  // namespace kvelmor
