#pragma once

// The program's own cosine and sine (portablemath.h) over many angles at once, and the two sums
// that take most of them: a detector step's 2003 arrows and the continuous slit's quadrature.
// lanekernels.cpp holds them and is compiled once for each instruction set the build knows: for
// x86-64 the baseline (SSE2, two doubles at a time), AVX2 (four) and AVX-512 (eight); for
// WebAssembly the baseline alone, once with SIMD (two doubles an instruction) and once without,
// a program linking one or the other. Every set gives the same bits: each lane computes what the
// one-at-a-time formula computes, and sums are added up one term after another, in order.
//
// Plain types only, as in phasor_simd.h.

#include "run/phasor_simd.h"

namespace kvelmor::lanes {

// The continuous slit as seen from one detector point.
struct SlitGeometry {
    double waveNumber;  // f
    double detectorY;   // D_y
    double across2;     // (screenX - detectorX)^2
};

struct SlitSum {
    double re;
    double im;
};

// What each instruction set provides.
struct Kernels {
    // portableCosSin of angles[0 .. count - 1].
    void (*cosSins)(const double* angles, double* cosines, double* sines, int count);

    // \int_{2500}^{4500} e^{i f r(y)} dy, r(y) = sqrt(across2 + (y - D_y)^2), by 8-point
    // Gauss-Legendre quadrature on `panels` equal panels: the nodes of each panel from the
    // innermost pair outwards, the lower node of a pair first, weighted and added in that order.
    SlitSum (*slitIntegral)(const SlitGeometry& slit, int panels);

    // A detector step's sum, as sumArrows describes it (the straight arrow, then the upper and the
    // lower path of each slit offset in turn), the arrows added one after another. With `chain`,
    // the kChainPoints points D, T_1, ..., T_2003 are written there.
    simd::StepTips (*stepSum)(const simd::StepGeometry& step, Point* chain);
};

// The instruction sets whose kernels a program may hold.
enum class LaneSet { baseline, avx2, avx512 };

// Whether `set` is built into this program and this processor runs it. The baseline always is.
bool laneSetAvailable(LaneSet set);

// The widest available set, chosen once from the processor's features.
LaneSet activeLaneSet();

const char* laneSetName(LaneSet set);

// The kernels of `set`, or of the baseline where `set` is not available.
const Kernels& kernelsOf(LaneSet set);

// The kernels of activeLaneSet().
const Kernels& activeKernels();

// Defined by lanekernels.cpp, one for each set the build compiles it for.
namespace baseline {
extern const Kernels kernels;
}
namespace avx2 {
extern const Kernels kernels;
}
namespace avx512 {
extern const Kernels kernels;
}

}  // namespace kvelmor::lanes
