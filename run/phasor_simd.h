#pragma once

// Declarations shared by the portable phasor code and the per-processor sum files. Those files are
// compiled with fast math and AVX instructions, so this header holds plain types only: any inline
// C++ library function they instantiated could be kept by the linker, AVX code and all, for the
// whole program.

namespace kvelmor {

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
// `chain`, the kArrowsPerStep + 1 points D, T_1, ..., T_2003 are written there, each the running
// sum of the arrows before it in the usual order, and the tip is the last of them; without, the
// cosines and sines are summed in vector lanes.
StepTips sumStepAvx2(const StepGeometry& step, Point* chain);
StepTips sumStepAvx512(const StepGeometry& step, Point* chain);

}  // namespace simd

}  // namespace kvelmor
