#include "run/phasor.h"

#include <cmath>

#include "run/arrowtable.h"
#include "run/lanekernels.h"
#include "run/numbertext.h"

namespace kvelmor {

std::optional<Wave> waveForFrequency(std::string_view frequencyText)
{
    struct Row {
        double frequency;
        Wave wave;
    };
    static constexpr Row rows[] = {
        {5, {10, 5}}, {1, {1.5, 0.1}}, {0.6, {1, 0.05}}, {0.2, {0.4, 0.01}}, {0.03, {0.18, 0.0015}},
    };
    for (const Row& row : rows) {
        if (frequencyText == numberText(row.frequency)) return row.wave;
    }
    return std::nullopt;
}

std::optional<double> barScaleForDistance(std::string_view distanceText)
{
    struct Row {
        double distance;
        double scale;
    };
    static constexpr Row rows[] = {{300, 0.017}, {350, 0.009}, {400, 0.006}};
    for (const Row& row : rows) {
        if (distanceText == numberText(row.distance)) return row.scale;
    }
    return std::nullopt;
}

namespace {

// Qt's drawing and start-up code can leave the upper halves of the AVX registers in use; legacy
// SSE code that runs after it then pays a penalty on almost every instruction (a run's sums were
// measured ten times slower once a QGuiApplication existed). The clones for AVX machines use the
// VEX encoding, which pays none; the baseline clone keeps older processors working.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define KVELMOR_VEX_CLONES __attribute__((target_clones("avx2", "avx", "default")))
#else
#define KVELMOR_VEX_CLONES
#endif

// One loop for both kinds of step; the chain-recording variant is a separate instantiation so
// that the 209 plain steps of a run carry no per-arrow branch or store.
template <bool recordChain>
[[gnu::always_inline]] inline StepSum sum(const Scene& scene, const Wave& wave, double j,
                                          std::vector<Point>* chain)
{
    const double L = wave.arrowLength;
    const double f = wave.waveNumber;
    const double dx = scene.detectorX;
    const double dy = Scene::benchBottom - j;
    const double across = Scene::screenX - dx;
    const double across2 = across * across;

    double tx = dx;
    double ty = dy;
    if constexpr (recordChain) {
        chain->clear();
        chain->reserve(kChainPoints);
        chain->push_back({tx, ty});
    }
    auto add = [&](double r) {
        tx += L * std::cos(r * f);
        ty += L * std::sin(r * f);
        if constexpr (recordChain) chain->push_back({tx, ty});
    };

    add(dx - Scene::screenX);
    const Point straightTip{tx, ty};
    for (int k = 0; k < kSlitOffsets; ++k) {
        const double up = (Scene::axisY - k) - dy;
        add(std::sqrt(across2 + up * up));
        const double down = (Scene::axisY + k) - dy;
        add(std::sqrt(across2 + down * down));
    }
    const double ex = tx - dx;
    const double ey = ty - dy;
    return {straightTip, {tx, ty}, ex * ex + ey * ey};
}

KVELMOR_VEX_CLONES
StepSum sumScalar(const Scene& scene, const Wave& wave, double j, std::vector<Point>* chain)
{
    return chain ? sum<true>(scene, wave, j, chain) : sum<false>(scene, wave, j, nullptr);
}

using StepFunction = simd::StepTips (*)(const simd::StepGeometry&, Point*);

StepSum sumBy(StepFunction step, const Scene& scene, const Wave& wave, double j,
              std::vector<Point>* chain)
{
    const double dy = Scene::benchBottom - j;
    if (chain) chain->resize(kChainPoints);
    const simd::StepTips tips = step({wave.arrowLength, wave.waveNumber, scene.detectorX, dy},
                                     chain ? chain->data() : nullptr);
    const double ex = tips.tip.x - scene.detectorX;
    const double ey = tips.tip.y - dy;
    return {tips.straightTip, tips.tip, ex * ex + ey * ey};
}

// KVELMOR_VECTOR_SUMS is defined by the build when it compiles phasor_vector.cpp for AVX2 and
// AVX-512 (x86-64 with GCC); __builtin_cpu_supports exists only there too.
#if defined(KVELMOR_VECTOR_SUMS) && defined(__x86_64__)
StepFunction vectorStep(SumPath path)
{
    switch (path) {
    case SumPath::avx2:
        return simd::sumStepAvx2;
    case SumPath::avx512:
        return simd::sumStepAvx512;
    case SumPath::scalar:
    case SumPath::portable:
        break;
    }
    return nullptr;
}

bool processorRuns(SumPath path)
{
    __builtin_cpu_init();
    switch (path) {
    case SumPath::scalar:
    case SumPath::portable:
        return true;
    case SumPath::avx2:
        return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    case SumPath::avx512:
        return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("fma");
    }
    return false;
}

// The widest vector path the processor runs, or the scalar loop.
SumPath choosePath()
{
    for (SumPath path : {SumPath::avx512, SumPath::avx2}) {
        if (sumPathAvailable(path)) return path;
    }
    return SumPath::scalar;
}
#else
bool processorRuns(SumPath path)
{
    return path == SumPath::scalar || path == SumPath::portable;
}

// Without glibc's vector functions the program's own cosines and sines, several at a time, are
// the fastest: in WebAssembly a run's sums take about a third of the time they take with its
// libm's, one at a time, with SIMD, and about half without.
SumPath choosePath()
{
    return SumPath::portable;
}
#endif

}  // namespace

bool sumPathAvailable(SumPath path)
{
    return processorRuns(path);
}

SumPath activeSumPath()
{
    static const SumPath path = choosePath();
    return path;
}

const char* sumPathName(SumPath path)
{
    switch (path) {
    case SumPath::scalar:
        return "scalar";
    case SumPath::avx2:
        return "avx2";
    case SumPath::avx512:
        return "avx512";
    case SumPath::portable:
        return "portable";
    }
    return "?";
}

StepSum sumArrowsBy(SumPath path, const Scene& scene, const Wave& wave, double j,
                    std::vector<Point>* chain)
{
    if (path == SumPath::portable) {
        // A run's steps share their arrows (ArrowTable); a thread of its own keeps its own table.
        thread_local ArrowTable table;
        if (const std::optional<StepSum> sum = table.stepSum(scene, wave, j, chain)) return *sum;
        return sumBy(lanes::activeKernels().stepSum, scene, wave, j, chain);
    }
#if defined(KVELMOR_VECTOR_SUMS) && defined(__x86_64__)
    if (path != SumPath::scalar && sumPathAvailable(path)) {
        return sumBy(vectorStep(path), scene, wave, j, chain);
    }
#endif
    return sumScalar(scene, wave, j, chain);
}

StepSum sumArrows(const Scene& scene, const Wave& wave, double j, std::vector<Point>* chain)
{
    return sumArrowsBy(activeSumPath(), scene, wave, j, chain);
}

}  // namespace kvelmor
