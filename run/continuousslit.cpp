#include "run/continuousslit.h"

#include <cmath>

namespace kvelmor {

namespace {

// Nodes and weights of 8-point Gauss-Legendre quadrature on [-1, 1] (the nodes come in pairs +-x).
constexpr double kNodes[4] = {0.1834346424956498, 0.5255324099163290, 0.7966664774136267,
                              0.9602898564975363};
constexpr double kWeights[4] = {0.3626837833783620, 0.3137066238314143, 0.2223810344533745,
                                0.1012285362903763};

constexpr int kFirstPanels = 256;
constexpr int kMostPanels = 1 << 20;

struct Sum {
    double re = 0;
    double im = 0;
};

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
                const double y = middle + side * kNodes[k] * width / 2;
                const double r = std::sqrt(across2 + (y - dy) * (y - dy));
                const double w = kWeights[k] * width / 2;
                sum.re += w * std::cos(f * r);
                sum.im += w * std::sin(f * r);
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
    const double r0 = scene.detectorX - Scene::screenX;
    const double density = (kArrowsPerStep - 1) * L / (2 * Scene::slitHalfHeight);
    const double allInLine = std::pow(kArrowsPerStep * L, 2);

    auto squaredLength = [&](int panels) {
        const Sum slit = slitIntegral(scene, f, dy, panels);
        const double re = L * std::cos(f * r0) + density * slit.re;
        const double im = L * std::sin(f * r0) + density * slit.im;
        return re * re + im * im;
    };

    int panels = kFirstPanels;
    double previous = squaredLength(panels);
    while (panels < kMostPanels) {
        panels *= 2;
        const double finer = squaredLength(panels);
        const bool settled = std::abs(finer - previous) <= tolerance * allInLine;
        previous = finer;
        if (settled) break;
    }
    return {previous, panels};
}

}  // namespace kvelmor
