// The phasor sum of one detector step with glibc's vector cosines and sines. This one file is
// compiled once per instruction set (KVELMOR_SUM_STEP names the function), with -O3 -ffast-math
// -fopenmp-simd so that GCC calls libmvec from the `omp simd` loops below. GCC reaches libmvec only
// from a loop that computes one of cos and sin, so the angles go into an array first and each
// function gets a loop of its own.
//
// Only <math.h> and plain declarations are included: an inline C++ library function instantiated
// here would carry these flags, and the linker might keep this copy for the whole program.
#include <math.h>

#include "run/phasor_simd.h"
#include "run/scene.h"

namespace kvelmor::simd {

namespace {

constexpr int kOffsets = kSlitOffsets;  // slit offsets k = 0..1000
constexpr int kPaths = 2 * kOffsets;    // upper paths first, then lower ones
// The chain below is D, the straight arrow's tip and two points an offset: its last point must be
// the last of the kChainPoints that the caller's buffer holds.
static_assert(kPaths + 1 == kArrowsPerStep);
static_assert(3 + 2 * (kOffsets - 1) == kChainPoints - 1);
// The arrays are padded to whole vectors of eight, so that the cos and sin loops need no remainder
// loop: GCC would do the remainder with libmvec's SSE functions, whose legacy encoding costs a
// penalty on some processors once the upper halves of the AVX registers are in use.
constexpr int kPadded = (kPaths + 7) / 8 * 8;
constexpr double kAcross = Scene::screenX;

}  // namespace

StepTips KVELMOR_SUM_STEP(const StepGeometry& step, Point* chain)
{
    const double L = step.arrowLength;
    const double f = step.waveNumber;
    const double dx = step.detectorX;
    const double dy = step.detectorY;
    const double across = kAcross - dx;
    const double across2 = across * across;

    // The angle f r of every path arrow: [k] the upper path of offset k, [kOffsets + k] the lower.
    alignas(64) double angle[kPadded];
#pragma omp simd
    for (int k = 0; k < kOffsets; ++k) {
        const double up = (Scene::axisY - k) - dy;
        const double down = (Scene::axisY + k) - dy;
        angle[k] = __builtin_sqrt(across2 + up * up) * f;
        angle[kOffsets + k] = __builtin_sqrt(across2 + down * down) * f;
    }

    for (int n = kPaths; n < kPadded; ++n) angle[n] = 0;

    const double r0 = dx - kAcross;
    const Point straight{dx + L * cos(r0 * f), dy + L * sin(r0 * f)};

    alignas(64) double cosine[kPadded];
    alignas(64) double sine[kPadded];
#pragma omp simd
    for (int n = 0; n < kPadded; ++n) cosine[n] = cos(angle[n]);
#pragma omp simd
    for (int n = 0; n < kPadded; ++n) sine[n] = sin(angle[n]);

    if (!chain) {
        double cosines = 0;
        double sines = 0;
#pragma omp simd reduction(+ : cosines, sines)
        for (int n = 0; n < kPaths; ++n) {
            cosines += cosine[n];
            sines += sine[n];
        }
        return {straight, {straight.x + L * cosines, straight.y + L * sines}};
    }

    // The chain is the running sum in the run's order: straight arrow, then upper and lower path
    // of each offset in turn.
    chain[0] = {dx, dy};
    chain[1] = straight;
    double tx = straight.x;
    double ty = straight.y;
    for (int k = 0; k < kOffsets; ++k) {
        tx += L * cosine[k];
        ty += L * sine[k];
        chain[2 + 2 * k] = {tx, ty};
        tx += L * cosine[kOffsets + k];
        ty += L * sine[kOffsets + k];
        chain[3 + 2 * k] = {tx, ty};
    }
    return {straight, {tx, ty}};
}

}  // namespace kvelmor::simd
