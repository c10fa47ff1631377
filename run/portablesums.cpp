#include "run/portablesums.h"

#include <cmath>

#include "run/portablemath.h"

namespace kvelmor {

namespace {

// The cosines and sines of a list of angles, kept for reuse from one step to the next.
struct Directions {
    std::vector<double> angles, cosines, sines;

    void compute()
    {
        cosines.resize(angles.size());
        sines.resize(angles.size());
        portableCosSins(angles.data(), cosines.data(), sines.data(), int(angles.size()));
    }
};

}  // namespace

const std::vector<double>& runSlitHeights()
{
    static const std::vector<double> heights = [] {
        std::vector<double> h;
        h.reserve(2 * kSlitOffsets);
        for (int k = 0; k < kSlitOffsets; ++k) {
            h.push_back(Scene::axisY - k);
            h.push_back(Scene::axisY + k);
        }
        return h;
    }();
    return heights;
}

StepSum portableStepSum(const Scene& scene, const Wave& wave, double j, std::vector<Point>* chain)
{
    return portablePathSum(scene, wave, j, runSlitHeights(), wave.arrowLength, chain);
}

StepSum portablePathSum(const Scene& scene, const Wave& wave, double j,
                        const std::vector<double>& slitHeights, double slitArrowLength,
                        std::vector<Point>* chain)
{
    const double L = wave.arrowLength;
    const double f = wave.waveNumber;
    const double dx = scene.detectorX;
    const double dy = Scene::benchBottom - j;
    const double across = Scene::screenX - dx;
    const double across2 = across * across;

    // The straight arrow, then one path for each slit height in turn.
    thread_local Directions arrows;
    arrows.angles.clear();
    arrows.angles.push_back((dx - Scene::screenX) * f);
    for (const double y : slitHeights) {
        const double along = y - dy;
        arrows.angles.push_back(std::sqrt(across2 + along * along) * f);
    }
    arrows.compute();

    double tx = dx + L * arrows.cosines[0];
    double ty = dy + L * arrows.sines[0];
    const Point straightTip{tx, ty};
    if (chain) {
        chain->clear();
        chain->reserve(arrows.angles.size() + 1);
        chain->push_back({dx, dy});
        chain->push_back(straightTip);
    }
    const double S = slitArrowLength;
    for (std::size_t i = 1; i < arrows.angles.size(); ++i) {
        tx += S * arrows.cosines[i];
        ty += S * arrows.sines[i];
        if (chain) chain->push_back({tx, ty});
    }
    const double ex = tx - dx;
    const double ey = ty - dy;
    return {straightTip, {tx, ty}, ex * ex + ey * ey};
}

}  // namespace kvelmor
