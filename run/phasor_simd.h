#pragma once

// Declarations shared by the portable phasor code and the per-processor sum files. Those files are
// compiled with fast math and AVX instructions, so this header holds plain types only: any inline
// C++ library function they instantiated could be kept by the linker, AVX code and all, for the
// whole program.

#include "run/scene.h"

namespace kvelmor {

// The arrows of one detector step, the one count that the portable loop, the vector sums and the
// continuous slit all build on: the straight arrow plus an upper and a lower path for each of the
// slit offsets k = 0..1000, a whole twip apart over the slit's half height.
inline constexpr int kSlitOffsets = static_cast<int>(Scene::slitHalfHeight) + 1;
inline constexpr int kArrowsPerStep = 1 + 2 * kSlitOffsets;
// A chain is D and the tip after each arrow.
inline constexpr int kChainPoints = kArrowsPerStep + 1;

struct Point {
    double x;
    double y;
};

namespace simd {

struct StepGeometry {
    double arrowLength;  // L
    double waveNumber;   // f
    double detectorX;
    double detectorY;  // benchBottom - j
};

struct StepTips {
    Point straightTip;
    Point tip;
};

// One detector step's sum with the processor's vector cosines and sines (glibc's libmvec). With
// `chain`, the kChainPoints points D, T_1, ..., T_2003 are written there, each the running
// sum of the arrows before it in the usual order, and the tip is the last of them; without, the
// cosines and sines are summed in vector lanes.
StepTips sumStepAvx2(const StepGeometry& step, Point* chain);
StepTips sumStepAvx512(const StepGeometry& step, Point* chain);

}  // namespace simd

}  // namespace kvelmor
