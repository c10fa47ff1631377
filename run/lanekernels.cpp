// The kernels of lanekernels.h for the instruction set this file is compiled for (KVELMOR_LANE_SET
// names it: baseline, avx2 or avx512). Compiled without contraction into fused multiply-adds, as
// all of run/ is.
//
// Only headers of plain declarations, intrinsics and this file's own templates are included: an
// inline C++ library function instantiated here would carry this set's instructions, and the
// linker might keep this copy for the whole program.
#include "run/lanekernels.h"

#include "run/gausslegendre.h"
#include "run/lanes.h"
#include "run/portablecossin.h"

#ifndef KVELMOR_LANE_SET
#define KVELMOR_LANE_SET baseline
#endif

namespace kvelmor::lanes::KVELMOR_LANE_SET {

namespace {

[[gnu::always_inline]] inline void cosSinOf(Doubles angle, Doubles& cos, Doubles& sin)
{
    portable::cosSin<Doubles, Words>(angle, cos, sin);
}

[[gnu::always_inline]] inline void store(double* to, Doubles v)
{
    __builtin_memcpy(to, &v, sizeof v);
}

// The sums below take two passes: the angles first, into an array, then their cosines and sines,
// added up one term after another as they come. A pass keeps fewer values at hand than the whole
// work in one, which lets a WebAssembly engine hold them in registers: in one pass a run's sums
// took 20% longer there; and adding up as they come keeps the sums' additions, which must wait
// for one another, beside work that need not: in a third pass of their own the quadrature took
// 20% longer natively.

void cosSins(const double* angles, double* cosines, double* sines, int count)
{
    Doubles cos, sin;
    int i = 0;
    for (; i + kLanes <= count; i += kLanes) {
        cosSinOf(load(angles + i), cos, sin);
        store(cosines + i, cos);
        store(sines + i, sin);
    }
    if (i == count) return;
    Doubles rest{};  // the last angles, the unused lanes zero
    for (int lane = 0; i + lane < count; ++lane) rest[lane] = angles[i + lane];
    cosSinOf(rest, cos, sin);
    for (int lane = 0; i + lane < count; ++lane) {
        cosines[i + lane] = cos[lane];
        sines[i + lane] = sin[lane];
    }
}

// The quadrature's nodes in a panel, in its order: the pairs +-x from the innermost outwards, -x
// first. The slit is sampled kBlockPanels panels at a time.
constexpr int kPanelNodes = 8;
constexpr int kParts = kPanelNodes / kLanes;  // vectors to a panel
constexpr int kBlockPanels = 64;
constexpr int kBlockNodes = kBlockPanels * kPanelNodes;
static_assert(kPanelNodes % kLanes == 0);

SlitSum slitIntegral(const SlitGeometry& slit, int panels)
{
    const double f = slit.waveNumber;
    const double dy = slit.detectorY;
    const double across2 = slit.across2;
    const double top = Scene::axisY - Scene::slitHalfHeight;
    const double width = 2 * Scene::slitHalfHeight / panels;
    // A node's place within its panel and its weight, as the scalar rule computes them.
    double offsets[kPanelNodes];
    double weights[kPanelNodes];
    for (int k = 0; k < kPanelNodes / 2; ++k) {
        for (int side = 0; side < 2; ++side) {
            const double sign = side == 0 ? -1.0 : 1.0;
            offsets[2 * k + side] = sign * kGaussNodes[k] * width / 2;
            weights[2 * k + side] = kGaussWeights[k] * width / 2;
        }
    }
    Doubles offset[kParts];
    Doubles weight[kParts];
    for (int part = 0; part < kParts; ++part) {
        offset[part] = load(offsets + part * kLanes);
        weight[part] = load(weights + part * kLanes);
    }

    alignas(64) double angles[kBlockNodes];
    alignas(64) double re[kLanes];
    alignas(64) double im[kLanes];
    SlitSum sum{0, 0};
    for (int first = 0; first < panels; first += kBlockPanels) {
        const int nodes =
            (panels - first < kBlockPanels ? panels - first : kBlockPanels) * kPanelNodes;
        for (int i = 0; i < nodes; i += kLanes) {
            const double middle = top + (first + i / kPanelNodes + 0.5) * width;
            const Doubles d = (middle + offset[i / kLanes % kParts]) - dy;
            store(angles + i, f * squareRoot(across2 + d * d));
        }
        for (int i = 0; i < nodes; i += kLanes) {
            Doubles cos, sin;
            cosSinOf(load(angles + i), cos, sin);
            store(re, weight[i / kLanes % kParts] * cos);
            store(im, weight[i / kLanes % kParts] * sin);
            for (int lane = 0; lane < kLanes; ++lane) {
                sum.re += re[lane];
                sum.im += im[lane];
            }
        }
    }
    return sum;
}

// The path arrows of a step, as many as a whole number of vectors holds: 2002 and some unused.
constexpr int kPaths = kArrowsPerStep - 1;
constexpr int kPaddedPaths = (kPaths + kLanes - 1) / kLanes * kLanes;

template <bool recordChain>
[[gnu::always_inline]] inline simd::StepTips stepSumOf(const simd::StepGeometry& step, Point* chain)
{
    const double L = step.arrowLength;
    const double f = step.waveNumber;
    const double dx = step.detectorX;
    const double dy = step.detectorY;
    const double across = Scene::screenX - dx;
    const double across2 = across * across;

    // Path 2k is the upper path of slit offset k and path 2k + 1 the lower one. Their slit
    // points' heights above D, (axisY -+ k) - D_y, are whole numbers: exact however they are
    // reached, so each vector adds the next offsets' to the last one's.
    Doubles sign, counted;
    for (int lane = 0; lane < kLanes; ++lane) {
        sign[lane] = lane % 2 == 0 ? -1.0 : 1.0;
        counted[lane] = lane / 2;
    }
    const Doubles nextOffsets = sign * double(kLanes / 2);
    alignas(64) double angles[kPaddedPaths];
    Doubles d = (Scene::axisY + sign * counted) - dy;
    for (int i = 0; i < kPaddedPaths; i += kLanes, d += nextOffsets) {
        store(angles + i, squareRoot(across2 + d * d) * f);
    }
    double straightCos, straightSin;
    portable::cosSin<double, std::uint64_t>((dx - Scene::screenX) * f, straightCos, straightSin);
    double tx = dx + L * straightCos;
    double ty = dy + L * straightSin;
    const Point straightTip{tx, ty};
    if constexpr (recordChain) {
        chain[0] = {dx, dy};
        chain[1] = straightTip;
        chain += 2;
    }
    alignas(64) double ax[kLanes];
    alignas(64) double ay[kLanes];
    for (int i = 0; i < kPaddedPaths; i += kLanes) {
        Doubles cos, sin;
        cosSinOf(load(angles + i), cos, sin);
        store(ax, L * cos);
        store(ay, L * sin);
        const int used = i + kLanes <= kPaths ? kLanes : kPaths - i;
        for (int lane = 0; lane < used; ++lane) {
            tx += ax[lane];
            ty += ay[lane];
            if constexpr (recordChain) *chain++ = {tx, ty};
        }
    }
    return {straightTip, {tx, ty}};
}

simd::StepTips stepSum(const simd::StepGeometry& step, Point* chain)
{
    return chain ? stepSumOf<true>(step, chain) : stepSumOf<false>(step, nullptr);
}

}  // namespace

const Kernels kernels{cosSins, slitIntegral, stepSum};

}  // namespace kvelmor::lanes::KVELMOR_LANE_SET
