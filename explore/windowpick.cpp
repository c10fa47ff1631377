#include "explore/windowpick.h"

#include <algorithm>
#include <cmath>

#include "explore/paths.h"

namespace kvelmor {

std::optional<int> stepAtWindowPoint(const Scene& scene, const std::vector<double>& barLengths,
                                     double x, double y, double reach)
{
    const double lowest = Scene::benchBottom - kFirstOffset;  // the bottom step's height
    const double highest = Scene::benchBottom - kLastOffset;  // the top step's
    if (y < highest - reach || y > lowest + reach) return std::nullopt;
    const int step = std::clamp(int(std::lround((lowest - y) / kOffsetStep)), 0, kLastStep);

    if (std::abs(x - scene.detectorX) <= reach) return step;

    // The bars stand a little more than a step apart on the screen: the longest bar within reach
    // of the point's height counts, so that a tap on the pattern's outline finds it.
    double bar = 0;
    for (int s = 0; s < int(barLengths.size()); ++s) {
        const double rowY = Scene::benchBottom - offsetOfStep(s);
        if (std::abs(rowY - y) <= reach) bar = std::max(bar, barLengths[s]);
    }
    if (x >= Scene::probabilityX - reach && x <= Scene::probabilityX + bar + reach) return step;
    return std::nullopt;
}

}  // namespace kvelmor
