#include "run/continuousslit.h"

#include <cmath>
#include <vector>

#include "run/portablemath.h"

namespace kvelmor {

namespace {

struct SlitIntegral {
    double re = 0;
    double im = 0;
};

// \int e^{i f r(y)} dy over the slit on `panels` panels, node by node in the quadrature's order.
// The nodes' cosines and sines are computed all together first, several at a time, into buffers
// kept from one call to the next.
SlitIntegral slitIntegral(const Scene& scene, double f, double dy, int panels)
{
    thread_local std::vector<double> angles, cosines, sines;
    const double top = Scene::axisY - Scene::slitHalfHeight;
    const double width = 2 * Scene::slitHalfHeight / panels;
    const double across = Scene::screenX - scene.detectorX;
    const double across2 = across * across;
    angles.clear();
    for (int n = 0; n < panels; ++n) {
        const double middle = top + (n + 0.5) * width;
        for (int k = 0; k < 4; ++k) {
            for (double side : {-1.0, 1.0}) {
                const double y = middle + side * kGaussNodes[k] * width / 2;
                angles.push_back(f * std::sqrt(across2 + (y - dy) * (y - dy)));
            }
        }
    }
    cosines.resize(angles.size());
    sines.resize(angles.size());
    portableCosSins(angles.data(), cosines.data(), sines.data(), int(angles.size()));
    SlitIntegral sum;
    std::size_t i = 0;
    for (int n = 0; n < panels; ++n) {
        for (int k = 0; k < 4; ++k) {
            const double w = kGaussWeights[k] * width / 2;
            for (int side = 0; side < 2; ++side, ++i) {
                sum.re += w * cosines[i];
                sum.im += w * sines[i];
            }
        }
    }
    return sum;
}

}  // namespace

ContinuousSum continuousSquaredLength(const Scene& scene, const Wave& wave, double j,
                                      double tolerance)
{
    const double L = wave.arrowLength;
    const double f = wave.waveNumber;
    const double dy = Scene::benchBottom - j;
    const CosSin straight = portableCosSin(f * (scene.detectorX - Scene::screenX));
    const double density = (kArrowsPerStep - 1) * L / (2 * Scene::slitHalfHeight);
    const double allInLine = (kArrowsPerStep * L) * (kArrowsPerStep * L);

    auto squaredLength = [&](int panels) {
        const SlitIntegral slit = slitIntegral(scene, f, dy, panels);
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
