#pragma once

#include <algorithm>

#include "run/numbertext.h"
#include "run/phasor.h"

// The longest probability bar of a whole run, in twips, straight from the arithmetic.
inline double longestBarTwips(const char* frequency, double distance)
{
    using namespace kvelmor;
    const Wave wave = *waveForFrequency(frequency);
    const double scale = *barScaleForDistance(numberText(distance));
    double longest = 0;
    for (int j = 500; j <= 6000; j += 25) {
        longest = std::max(longest,
                           sumArrows(Scene::forDistance(distance), wave, j).squaredLength * scale);
    }
    return longest;
}
