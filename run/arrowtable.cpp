#include "run/arrowtable.h"

#include <cmath>

#include "run/portablemath.h"

namespace kvelmor {

void ArrowTable::make(const Scene& scene, const Wave& wave)
{
    const double L = wave.arrowLength;
    const double f = wave.waveNumber;
    const double dx = scene.detectorX;
    const double across = Scene::screenX - dx;
    const double across2 = across * across;

    // h h and across2 + h h are whole numbers below 2^53, exact however they are reached; the
    // square root and the product with f are rounded as the step's own computation rounds them.
    constexpr int count = kLargestHeight + 1;
    std::vector<double> angles(count);
    for (int h = 0; h < count; ++h) angles[h] = std::sqrt(across2 + double(h) * h) * f;
    ax_.resize(count);
    ay_.resize(count);
    portableCosSins(angles.data(), ax_.data(), ay_.data(), count);
    for (int h = 0; h < count; ++h) {
        ax_[h] = L * ax_[h];
        ay_[h] = L * ay_[h];
    }
    const CosSin straight = portableCosSin((dx - Scene::screenX) * f);
    straight_ = {L * straight.cos, L * straight.sin};

    made_ = true;
    arrowLength_ = L;
    waveNumber_ = f;
    detectorX_ = dx;
}

std::optional<StepSum> ArrowTable::stepSum(const Scene& scene, const Wave& wave, double j,
                                           std::vector<Point>* chain)
{
    const double dx = scene.detectorX;
    const double dy = Scene::benchBottom - j;
    // The upper path of slit offset k has the height difference (axisY - k) - D_y = centre - k,
    // the lower one centre + k.
    const double centre = Scene::axisY - dy;
    if (!(std::abs(centre) + (kSlitOffsets - 1) <= kLargestHeight) ||
        centre != std::floor(centre))
        return std::nullopt;
    if (!made_ || wave.arrowLength != arrowLength_ || wave.waveNumber != waveNumber_ ||
        dx != detectorX_)
        make(scene, wave);

    const int c = int(centre);
    const double* ax = ax_.data();
    const double* ay = ay_.data();
    double tx = dx + straight_.x;
    double ty = dy + straight_.y;
    const Point straightTip{tx, ty};
    if (chain) {
        chain->resize(kChainPoints);
        Point* point = chain->data();
        *point++ = {dx, dy};
        *point++ = straightTip;
        for (int k = 0; k < kSlitOffsets; ++k) {
            const int up = std::abs(c - k);
            tx += ax[up];
            ty += ay[up];
            *point++ = {tx, ty};
            const int down = std::abs(c + k);
            tx += ax[down];
            ty += ay[down];
            *point++ = {tx, ty};
        }
    } else {
        for (int k = 0; k < kSlitOffsets; ++k) {
            const int up = std::abs(c - k);
            tx += ax[up];
            ty += ay[up];
            const int down = std::abs(c + k);
            tx += ax[down];
            ty += ay[down];
        }
    }
    const double ex = tx - dx;
    const double ey = ty - dy;
    return StepSum{straightTip, {tx, ty}, ex * ex + ey * ey};
}

}  // namespace kvelmor
