#pragma once

// The squared length of a detector step's sum arrow, computed here a second way: in long double
// complex arithmetic, straight from the description of the experiment (2003 arrows of length L,
// each turned by f times its path length: the straight arrow, and one arrow for each slit point
// y = 2500..4500, the centre counted twice). Tests compare the program's bars with it.
#include <algorithm>
#include <cmath>
#include <complex>
#include <cstring>

namespace independent {

struct Wave {
    long double arrowLength;
    long double waveNumber;
};

// The frequency box's text to its arrow length and wave number.
inline Wave waveFor(const char* frequencyText)
{
    const struct {
        const char* text;
        Wave wave;
    } rows[] = {{"5", {10, 5}},
                {"1", {1.5L, 0.1L}},
                {"0.6", {1, 0.05L}},
                {"0.2", {0.4L, 0.01L}},
                {"0.03", {0.18L, 0.0015L}}};
    for (const auto& row : rows) {
        if (std::strcmp(row.text, frequencyText) == 0) return row.wave;
    }
    return {0, 0};
}

inline long double barScaleFor(int distance)
{
    return distance == 300 ? 0.017L : distance == 350 ? 0.009L : 0.006L;
}

// |sum|^2 at the detector step j (the detector 7500 - j twips down) for a detector line at
// -1500 + 20 * distance.
inline long double squaredLength(const Wave& wave, int distance, int j)
{
    const long double detectorX = -1500.0L + 20.0L * distance;
    const long double detectorY = 7500.0L - j;
    const long double across = 3500.0L - detectorX;
    auto arrow = [&](long double r) { return std::polar<long double>(1, wave.waveNumber * r); };
    std::complex<long double> sum = arrow(detectorX - 3500.0L);
    for (int y = 2500; y <= 4500; ++y) {
        const long double r = std::sqrt(across * across + (y - detectorY) * (y - detectorY));
        sum += arrow(r);
        if (y == 3500) sum += arrow(r);
    }
    return wave.arrowLength * wave.arrowLength * std::norm(sum);
}

// The longest probability bar of a whole run, in twips.
inline double longestBarTwips(const char* frequencyText, int distance)
{
    const Wave wave = waveFor(frequencyText);
    long double longest = 0;
    for (int j = 500; j <= 6000; j += 25) {
        longest = std::max(longest, squaredLength(wave, distance, j) * barScaleFor(distance));
    }
    return double(longest);
}

}  // namespace independent
