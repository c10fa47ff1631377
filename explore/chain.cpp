#include "explore/chain.h"

#include <cmath>

#include "explore/paths.h"
#include "run/continuousslit.h"
#include "run/portablemath.h"
#include "run/portablesums.h"

namespace kvelmor {

Chain arrowChain(const Scene& scene, const Wave& wave, double j, int paths)
{
    Chain chain;
    if (paths == kRunPaths) {
        portableStepSum(scene, wave, j, &chain);
    } else {
        portablePathSum(scene, wave, j, slitHeightsFor(paths), slitArrowLength(wave, paths),
                        &chain);
    }
    return chain;
}

Chain continuousChain(const Scene& scene, const Wave& wave, double j, int panels)
{
    const double L = wave.arrowLength;
    const double f = wave.waveNumber;
    const double dx = scene.detectorX;
    const double dy = Scene::benchBottom - j;
    const double across = Scene::screenX - dx;
    const double across2 = across * across;
    const double density = (kArrowsPerStep - 1) * L / (2 * Scene::slitHalfHeight);
    const double width = 2 * Scene::slitHalfHeight / panels;
    const int pairs = panels / 2;

    // The nodes of each pair of panels, the upper panel's then the lower one's, pair by pair from
    // the centre outwards.
    std::vector<double> angles;
    angles.reserve(std::size_t(pairs) * 16);
    for (int m = 0; m < pairs; ++m) {
        for (double side : {-1.0, 1.0}) {
            const double middle = Scene::axisY + side * (m + 0.5) * width;
            for (int k = 0; k < 4; ++k) {
                for (double node : {-1.0, 1.0}) {
                    const double y = middle + node * kGaussNodes[k] * width / 2;
                    angles.push_back(f * std::sqrt(across2 + (y - dy) * (y - dy)));
                }
            }
        }
    }
    std::vector<double> cosines(angles.size()), sines(angles.size());
    portableCosSins(angles.data(), cosines.data(), sines.data(), int(angles.size()));

    const CosSin straight = portableCosSin(f * (dx - Scene::screenX));
    double tx = dx + L * straight.cos;
    double ty = dy + L * straight.sin;
    Chain chain{{dx, dy}, {tx, ty}};
    chain.reserve(std::size_t(pairs) + 2);
    std::size_t i = 0;
    for (int m = 0; m < pairs; ++m) {
        double re = 0;
        double im = 0;
        for (int panel = 0; panel < 2; ++panel) {
            for (int k = 0; k < 4; ++k) {
                const double w = kGaussWeights[k] * width / 2;
                for (int node = 0; node < 2; ++node, ++i) {
                    re += w * cosines[i];
                    im += w * sines[i];
                }
            }
        }
        tx += density * re;
        ty += density * im;
        chain.push_back({tx, ty});
    }
    return chain;
}

}  // namespace kvelmor
