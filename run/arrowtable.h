#pragma once

#include <optional>
#include <vector>

#include "run/phasor.h"

namespace kvelmor {

// The arrows of a run's steps, each computed once. A path from the slit point at height y to the
// detector point D is turned by f r with r = sqrt((screenX - detectorX)^2 + (y - D_y)^2), which
// depends on the height difference h = |y - D_y| alone; at every step of a run (D_y = benchBottom
// - j with j a whole number of twips) h is a whole number from 0 to kLargestHeight. The table
// holds L (cos f r, sin f r) for each h, computed by the program's own cosine and sine, and a
// step's sum adds up its 2002 path arrows from it in the usual order (upper, lower, k = 0..1000).
// Every arrow is the value the step's own computation gives, multiplication by L included, and
// the additions are the same ones in the same order: the result is that computation's bits,
// chain and all, while a run takes 4501 cosines and sines instead of 221 x 2003.
class ArrowTable {
public:
    // The largest h of a run's steps: the lowest detector point, j = 500, D_y = 7000, below the
    // slit's top 2500 (and the highest, j = 6000, D_y = 1500, above its bottom 4500 by 3000).
    static constexpr int kLargestHeight = 4500;

    // The sum of sumArrowsBy(SumPath::portable) from the table, which is made anew when the wave
    // or the detector line differ from the last call's. Nothing when D_y is not a whole number
    // of twips or lies so far off the slit that a height exceeds kLargestHeight: the caller then
    // computes the step on its own.
    std::optional<StepSum> stepSum(const Scene& scene, const Wave& wave, double j,
                                   std::vector<Point>* chain);

private:
    void make(const Scene& scene, const Wave& wave);
    template <bool recordChain>
    Point addPaths(int centre, Point tip, Point* chain) const;

    bool made_ = false;
    double arrowLength_ = 0, waveNumber_ = 0, detectorX_ = 0;
    Point straight_{};         // L (cos, sin) of the straight arrow
    std::vector<double> ax_;   // L cos f r(h), h = 0..kLargestHeight
    std::vector<double> ay_;   // L sin f r(h)
};

}  // namespace kvelmor
