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

// p_c of a continuous slit (the 2002 path arrows spread evenly over y = 2500..4500) by composite
// 8-point Gauss-Legendre quadrature in long double, `nodes` and `weights` the rule's positive
// nodes and their weights, on 256, 512, ... panels until two results differ by at most 1e-10 of
// (2003 L)^2. Gives the value and the panels it took.
struct Continuous {
    long double squaredLength;
    int panels;
};

inline Continuous continuousSquaredLength(const Wave& wave, int distance, int j,
                                          const long double (&nodes)[4],
                                          const long double (&weights)[4])
{
    const long double L = wave.arrowLength;
    const long double detectorX = -1500.0L + 20.0L * distance;
    const long double detectorY = 7500.0L - j;
    const long double across = 3500.0L - detectorX;
    auto arrow = [&](long double r) { return std::polar<long double>(1, wave.waveNumber * r); };
    auto pc = [&](int panels) {
        const long double width = 2000.0L / panels;
        std::complex<long double> slit = 0;
        for (int n = 0; n < panels; ++n) {
            for (int k = 0; k < 4; ++k) {
                for (int side : {-1, 1}) {
                    const long double y = 2500 + (n + 0.5L) * width + side * nodes[k] * width / 2;
                    const long double dy = y - detectorY;
                    slit += weights[k] * width / 2 * arrow(std::sqrt(across * across + dy * dy));
                }
            }
        }
        return std::norm(L * arrow(detectorX - 3500.0L) + 2002 * L / 2000 * slit);
    };
    const long double allInLine = (2003 * L) * (2003 * L);
    int panels = 256;
    long double previous = pc(panels);
    for (;;) {
        panels *= 2;
        const long double finer = pc(panels);
        const bool settled = std::abs(finer - previous) <= 1e-10L * allInLine;
        previous = finer;
        if (settled || panels >= 1 << 14) return {previous, panels};
    }
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
