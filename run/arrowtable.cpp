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

// The upper and the lower path of each slit offset k in turn, whose height differences are
// |centre - k| and |centre + k|, added to `tip`; with recordChain the tip after each is written to
// `chain`.
template <bool recordChain>
Point ArrowTable::addPaths(int centre, Point tip, Point* chain) const
{
    const double* ax = ax_.data();
    const double* ay = ay_.data();
    for (int k = 0; k < kSlitOffsets; ++k) {
        for (const int h : {std::abs(centre - k), std::abs(centre + k)}) {
            tip.x += ax[h];
            tip.y += ay[h];
            if constexpr (recordChain) *chain++ = tip;
        }
    }
    return tip;
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

    const Point straightTip{dx + straight_.x, dy + straight_.y};
    Point tip;
    if (chain) {
        chain->resize(kChainPoints);
        (*chain)[0] = {dx, dy};
        (*chain)[1] = straightTip;
        tip = addPaths<true>(int(centre), straightTip, chain->data() + 2);
    } else {
        tip = addPaths<false>(int(centre), straightTip, nullptr);
    }
    const double ex = tip.x - dx;
    const double ey = tip.y - dy;
    return StepSum{straightTip, tip, ex * ex + ey * ey};
}

}  // namespace kvelmor
