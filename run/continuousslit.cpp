#include "run/continuousslit.h"

#include <cmath>

#include "run/portablemath.h"

namespace kvelmor {

ContinuousSum continuousSquaredLength(const Scene& scene, const Wave& wave, double j,
                                      double tolerance)
{
    return continuousSquaredLengthBy(lanes::activeLaneSet(), scene, wave, j, tolerance);
}

ContinuousSum continuousSquaredLengthBy(lanes::LaneSet set, const Scene& scene, const Wave& wave,
                                        double j, double tolerance)
{
    const double L = wave.arrowLength;
    const double f = wave.waveNumber;
    const double dy = Scene::benchBottom - j;
    const CosSin straight = portableCosSin(f * (scene.detectorX - Scene::screenX));
    const double density = (kArrowsPerStep - 1) * L / (2 * Scene::slitHalfHeight);
    const double allInLine = (kArrowsPerStep * L) * (kArrowsPerStep * L);

    const double across = Scene::screenX - scene.detectorX;
    const lanes::SlitGeometry geometry{f, dy, across * across};
    const lanes::Kernels& kernels = lanes::kernelsOf(set);
    auto squaredLength = [&](int panels) {
        const lanes::SlitSum slit = kernels.slitIntegral(geometry, panels);
        const double re = L * straight.cos + density * slit.re;
        const double im = L * straight.sin + density * slit.im;
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

}  // namespace kvelmor
