#include "run/continuousslit.h"

#include <cmath>

// With glibc's vector cosines and sines (libmvec, linked when the build defines
// KVELMOR_VECTOR_SUMS on x86-64), the nodes of a panel are evaluated four at a time on processors
// with AVX2; others keep the scalar loop.
#if defined(KVELMOR_VECTOR_SUMS) && defined(__x86_64__)
#include <immintrin.h>
#define KVELMOR_VECTOR_SLIT 1
extern "C" {
__attribute__((target("avx2"))) __m256d _ZGVdN4v_cos(__m256d);
__attribute__((target("avx2"))) __m256d _ZGVdN4v_sin(__m256d);
}
#endif

namespace kvelmor {

namespace {

using Sum = SlitIntegral;

// \int e^{i f r(y)} dy over the slit, on `panels` equal panels.
Sum slitIntegral(const Scene& scene, double f, double dy, int panels)
{
    const double top = Scene::axisY - Scene::slitHalfHeight;
    const double width = 2 * Scene::slitHalfHeight / panels;
    const double across = Scene::screenX - scene.detectorX;
    const double across2 = across * across;
    Sum sum;
    for (int n = 0; n < panels; ++n) {
        const double middle = top + (n + 0.5) * width;
        for (int k = 0; k < 4; ++k) {
            for (double side : {-1.0, 1.0}) {
                const double y = middle + side * kGaussNodes[k] * width / 2;
                const double r = std::sqrt(across2 + (y - dy) * (y - dy));
                const double w = kGaussWeights[k] * width / 2;
                sum.re += w * std::cos(f * r);
                sum.im += w * std::sin(f * r);
            }
        }
    }
    return sum;
}

#ifdef KVELMOR_VECTOR_SLIT
// The same integral, the four nodes on each side of a panel's middle in one vector each.
__attribute__((target("avx2,fma"))) Sum slitIntegralAvx2(const Scene& scene, double f, double dy,
                                                         int panels)
{
    const double top = Scene::axisY - Scene::slitHalfHeight;
    const double width = 2 * Scene::slitHalfHeight / panels;
    const double across = Scene::screenX - scene.detectorX;
    const __m256d across2 = _mm256_set1_pd(across * across);
    const __m256d half = _mm256_set1_pd(width / 2);
    const __m256d offsets = _mm256_mul_pd(_mm256_loadu_pd(kGaussNodes), half);
    const __m256d weights = _mm256_mul_pd(_mm256_loadu_pd(kGaussWeights), half);
    const __m256d waveNumber = _mm256_set1_pd(f);
    __m256d re = _mm256_setzero_pd();
    __m256d im = _mm256_setzero_pd();
    for (int n = 0; n < panels; ++n) {
        const __m256d middle = _mm256_set1_pd(top + (n + 0.5) * width - dy);
        for (const __m256d y : {_mm256_sub_pd(middle, offsets), _mm256_add_pd(middle, offsets)}) {
            const __m256d r = _mm256_sqrt_pd(_mm256_fmadd_pd(y, y, across2));
            const __m256d angle = _mm256_mul_pd(waveNumber, r);
            re = _mm256_fmadd_pd(weights, _ZGVdN4v_cos(angle), re);
            im = _mm256_fmadd_pd(weights, _ZGVdN4v_sin(angle), im);
        }
    }
    alignas(32) double lanesRe[4], lanesIm[4];
    _mm256_store_pd(lanesRe, re);
    _mm256_store_pd(lanesIm, im);
    return {(lanesRe[0] + lanesRe[1]) + (lanesRe[2] + lanesRe[3]),
            (lanesIm[0] + lanesIm[1]) + (lanesIm[2] + lanesIm[3])};
}
#endif

Sum slitIntegralOnThisProcessor(const Scene& scene, double f, double dy, int panels)
{
#ifdef KVELMOR_VECTOR_SLIT
    static const bool avx2 = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    if (avx2) return slitIntegralAvx2(scene, f, dy, panels);
#endif
    return slitIntegral(scene, f, dy, panels);
}

using Integral = Sum (*)(const Scene&, double f, double dy, int panels);

ContinuousSum refine(Integral integral, const Scene& scene, const Wave& wave, double j,
                     double tolerance)
{
    const double f = wave.waveNumber;
    const double dy = Scene::benchBottom - j;
    const double r0 = scene.detectorX - Scene::screenX;
    return refineContinuousSum(
        wave, {std::cos(f * r0), std::sin(f * r0)},
        [&](int panels) { return integral(scene, f, dy, panels); }, tolerance);
}

}  // namespace

ContinuousSum refineContinuousSum(const Wave& wave, SlitIntegral straight,
                                  const std::function<SlitIntegral(int panels)>& integral,
                                  double tolerance)
{
    const double L = wave.arrowLength;
    const double density = (kArrowsPerStep - 1) * L / (2 * Scene::slitHalfHeight);
    const double allInLine = (kArrowsPerStep * L) * (kArrowsPerStep * L);

    auto squaredLength = [&](int panels) {
        const SlitIntegral slit = integral(panels);
        const double re = L * straight.re + density * slit.re;
        const double im = L * straight.im + density * slit.im;
        return re * re + im * im;
    };

    int panels = kFirstSlitPanels;
    double previous = squaredLength(panels);
    while (panels < kMostSlitPanels) {
        panels *= 2;
        const double finer = squaredLength(panels);
        const bool settled = std::abs(finer - previous) <= tolerance * allInLine;
        previous = finer;
        if (settled) return {previous, panels, true};
    }
    return {previous, panels, false};
}

ContinuousSum continuousSquaredLength(const Scene& scene, const Wave& wave, double j,
                                      double tolerance)
{
    return refine(slitIntegralOnThisProcessor, scene, wave, j, tolerance);
}

ContinuousSum continuousSquaredLengthScalar(const Scene& scene, const Wave& wave, double j,
                                            double tolerance)
{
    return refine(slitIntegral, scene, wave, j, tolerance);
}

}  // namespace kvelmor
