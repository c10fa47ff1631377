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

// \int e^{i f r(y)} dy over the slit on `panels` panels, node by node in the quadrature's order.
SlitIntegral slitIntegral(Directions& nodes, const Scene& scene, double f, double dy, int panels)
{
    const double top = Scene::axisY - Scene::slitHalfHeight;
    const double width = 2 * Scene::slitHalfHeight / panels;
    const double across = Scene::screenX - scene.detectorX;
    const double across2 = across * across;
    nodes.angles.clear();
    for (int n = 0; n < panels; ++n) {
        const double middle = top + (n + 0.5) * width;
        for (int k = 0; k < 4; ++k) {
            for (double side : {-1.0, 1.0}) {
                const double y = middle + side * kGaussNodes[k] * width / 2;
                nodes.angles.push_back(f * std::sqrt(across2 + (y - dy) * (y - dy)));
            }
        }
    }
    nodes.compute();
    SlitIntegral sum;
    std::size_t i = 0;
    for (int n = 0; n < panels; ++n) {
        for (int k = 0; k < 4; ++k) {
            const double w = kGaussWeights[k] * width / 2;
            for (int side = 0; side < 2; ++side, ++i) {
                sum.re += w * nodes.cosines[i];
                sum.im += w * nodes.sines[i];
            }
        }
    }
    return sum;
}

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

// Refined as the continuous slit's quadrature refines, by the same rule and bound.
ContinuousSum portableContinuousSquaredLength(const Scene& scene, const Wave& wave, double j,
                                              double tolerance)
{
    const double f = wave.waveNumber;
    const double dy = Scene::benchBottom - j;
    const CosSin straight = portableCosSin(f * (scene.detectorX - Scene::screenX));
    thread_local Directions nodes;
    return refineContinuousSum(
        wave, {straight.cos, straight.sin},
        [&](int panels) { return slitIntegral(nodes, scene, f, dy, panels); }, tolerance);
}

}  // namespace kvelmor
