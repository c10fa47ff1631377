#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "explore/chain.h"
#include "run/continuousslit.h"

namespace kvelmor {

// A setting of the window as the explorer works on it: the frequency box's text ("0.6"), the
// distance (350), and what the run takes from them.
struct ExploreSetting {
    std::string frequencyText;
    int distance;
    Scene scene;
    Wave wave;
    double barScale;
};

// Nothing when no option of the window writes that text or that distance.
std::optional<ExploreSetting> exploreSettingFor(std::string_view frequencyText, int distance);

// The explorer's model: one setting's run and, at a chosen detector step, the chain of a chosen
// number of arrows. Plain C++, the same in every front end. Everything is computed when first
// asked for and kept: the run's 221 sums at once (the highest bar needs them all), the continuous
// slit step by step, the chosen chain and the continuous chain of the chosen step.
class Explorer {
public:
    explicit Explorer(ExploreSetting setting);

    const ExploreSetting& setting() const { return setting_; }

    // Chooses detector step 0 to 220 and a count of arrows (2 to 2003, or kInfinitePaths); a step
    // out of range is taken to the nearest end, a count that is none stays as it was.
    void choose(int step, int paths);
    int step() const { return step_; }
    int paths() const { return paths_; }

    // The chosen chain: N arrows, or for N = infinity the continuous chain.
    const Chain& chain();
    // The continuous slit's chain at the chosen step, the limit the chains approach.
    const Chain& curve();
    // The squared length of the chosen chain's sum. For N = 2003 it is the CSV's squared_length
    // of the step, for N = infinity its continuous_squared_length, bit for bit.
    double squaredLength();

    // The run's numbers, as the CSV's rows hold them.
    double runSquaredLength(int step);
    double highestSquaredLength();
    const ContinuousSum& continuousSum(int step);
    // Whether continuousSum(step) has been computed already.
    bool continuousKnown(int step) const;

private:
    void computeRunSums();

    ExploreSetting setting_;
    int step_ = 0;
    int paths_;
    std::vector<double> runSums_;
    std::vector<std::optional<ContinuousSum>> continuous_;
    Chain chain_;
    int chainStep_ = -1, chainPaths_ = -1;
    Chain curve_;
    int curveStep_ = -1;
};

}  // namespace kvelmor
