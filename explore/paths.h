#pragma once

#include <array>
#include <string>
#include <vector>

#include "layout/texts.h"
#include "run/experiment.h"
#include "run/phasor.h"

namespace kvelmor {

// The explorer's chains: N arrows at one detector step, the straight arrow and N - 1 slit paths
// (the run's 2003 are 1 + 2002), or a slit of infinitely many paths.

// N = infinity: the continuous slit.
inline constexpr int kInfinitePaths = 0;
inline constexpr int kFewestPaths = 2;
inline constexpr int kRunPaths = kArrowsPerStep;

// The counts the explorer offers, from the fewest to the continuous slit.
inline constexpr std::array<int, 12> kPathChoices = {
    2, 3, 5, 10, 20, 50, 100, 200, 500, 1000, kRunPaths, kInfinitePaths};

// 2 to 2003, or kInfinitePaths.
constexpr bool isPathCount(int paths)
{
    return paths == kInfinitePaths || (paths >= kFewestPaths && paths <= kRunPaths);
}

// Where a count stands among kPathChoices: the index of the largest offered count at or below it
// (a count between two of them, as a sweep passes through, stands at the lower one).
int pathChoiceOf(int paths);

// The detector steps, 0 (the bottom, j = 500) to 220 (the top, j = 6000), as the CSV's rows.
inline constexpr int kStepCount = (kLastOffset - kFirstOffset) / kOffsetStep + 1;
inline constexpr int kLastStep = kStepCount - 1;

constexpr int offsetOfStep(int step)
{
    return kFirstOffset + step * kOffsetStep;
}

// The heights of the N - 1 slit paths of a chain of N arrows (2 <= N < 2003): the slit cut into
// N - 1 equal parts, a path through the middle of each, taken from the slit's centre outwards,
// the upper one of each pair first, as the run takes its paths. N = 2003 takes the run's own
// (runSlitHeights()): the whole twips of the slit with its centre twice.
std::vector<double> slitHeightsFor(int paths);

// How long each slit arrow of a chain of N arrows is: the run's 2002 slit arrows laid end to end,
// shared among the N - 1. Every chain is as long as the run's, so the chains of more and more
// paths converge onto the continuous slit's curve. L itself for N = 2003.
double slitArrowLength(const Wave& wave, int paths);

// The count at `fraction` (0 to 1) of a sweep from 2 to 2003 arrows. The count grows by the same
// factor in equal times, so the chains of a few arrows, whose shape changes most, stay in view as
// long as those of hundreds.
int sweptPaths(double fraction);

// The count as the explorer writes it: "2003", or the sign of infinity for the continuous slit.
std::string pathsText(int paths, Language language);
// The same in a file name: "2003", or "inf".
std::string pathsFileText(int paths);

}  // namespace kvelmor
