#include "explore/paths.h"

#include <algorithm>
#include <cmath>

namespace kvelmor {

std::vector<double> slitHeightsFor(int paths)
{
    const int count = std::max(paths - 1, 1);
    // With an odd count the middle part's path runs through the centre; with an even one the
    // centre lies between two parts.
    const int firstOffset = count % 2 == 0 ? 1 : 0;
    std::vector<double> heights;
    heights.reserve(count);
    if (firstOffset == 0) heights.push_back(Scene::axisY);
    for (int m = firstOffset == 0 ? 1 : 0; int(heights.size()) < count; ++m) {
        const double offset = (2 * m + firstOffset) * Scene::slitHalfHeight / count;
        heights.push_back(Scene::axisY - offset);
        heights.push_back(Scene::axisY + offset);
    }
    return heights;
}

double slitArrowLength(const Wave& wave, int paths)
{
    // (kRunPaths - 1) / (N - 1) is exactly 1 for N = 2003, so the run's arrows keep their L.
    return wave.arrowLength * (double(kRunPaths - 1) / double(paths - 1));
}

int pathChoiceOf(int paths)
{
    if (paths == kInfinitePaths) return int(kPathChoices.size()) - 1;
    int choice = 0;
    for (int i = 0; i + 1 < int(kPathChoices.size()); ++i) {
        if (kPathChoices[i] <= paths) choice = i;
    }
    return choice;
}

int sweptPaths(double fraction)
{
    const double f = std::clamp(fraction, 0.0, 1.0);
    const double grown = kFewestPaths * std::pow(double(kRunPaths) / kFewestPaths, f);
    return std::clamp(int(std::lround(grown)), kFewestPaths, kRunPaths);
}

std::string pathsText(int paths, Language language)
{
    return paths == kInfinitePaths ? std::string(text(TextKey::ExploreInfinity, language))
                                   : std::to_string(paths);
}

std::string pathsFileText(int paths)
{
    return paths == kInfinitePaths ? "inf" : std::to_string(paths);
}

}  // namespace kvelmor
