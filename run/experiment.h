#pragma once

#include "canvas/surface.h"
#include "run/runhost.h"

namespace kvelmor {

inline constexpr Colour kGreen = rgb(0, 0xFF, 0);  // the sum arrow

// Detector steps: offsets j = 500, 525, ..., 6000 above the bench bottom (221 of them); every
// twentieth (j a multiple of 500, 12 of them) also draws its whole arrow chain.
inline constexpr int kFirstOffset = 500;
inline constexpr int kLastOffset = 6000;
inline constexpr int kOffsetStep = 25;
inline constexpr int kChainEvery = 500;

// One press of "Start": reads the distance, draws the bench, then walks the detector up the
// detector line, summing the arrows of every path at each step and drawing its probability bar,
// and finally shows the scene labels. Returns early, drawing nothing more, when the host's wait
// reports that the window has closed.
void runExperiment(Surface& surface, RunHost& host);

}  // namespace kvelmor
