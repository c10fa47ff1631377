#include "run/portablesums.h"

#include <cmath>
#include <vector>

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

StepSum portableStepSum(const Scene& scene, const Wave& wave, double j)
{
    const double L = wave.arrowLength;
    const double f = wave.waveNumber;
    const double dx = scene.detectorX;
    const double dy = Scene::benchBottom - j;
    const double across = Scene::screenX - dx;
    const double across2 = across * across;

    // The straight arrow, then the upper and the lower path of each slit offset in turn.
    thread_local Directions arrows;
    arrows.angles.clear();
    arrows.angles.push_back((dx - Scene::screenX) * f);
    for (int k = 0; k < kSlitOffsets; ++k) {
        const double up = (Scene::axisY - k) - dy;
        arrows.angles.push_back(std::sqrt(across2 + up * up) * f);
        const double down = (Scene::axisY + k) - dy;
        arrows.angles.push_back(std::sqrt(across2 + down * down) * f);
    }
    arrows.compute();

    double tx = dx + L * arrows.cosines[0];
    double ty = dy + L * arrows.sines[0];
    const Point straightTip{tx, ty};
    for (std::size_t i = 1; i < arrows.angles.size(); ++i) {
        tx += L * arrows.cosines[i];
        ty += L * arrows.sines[i];
    }
    const double ex = tx - dx;
    const double ey = ty - dy;
    return {straightTip, {tx, ty}, ex * ex + ey * ey};
}

}  // namespace kvelmor
