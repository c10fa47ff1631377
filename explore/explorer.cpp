#include "explore/explorer.h"

#include <algorithm>

#include "explore/paths.h"
#include "run/numbertext.h"
#include "run/portablesums.h"

namespace kvelmor {

std::optional<ExploreSetting> exploreSettingFor(std::string_view frequencyText, int distance)
{
    const std::optional<Wave> wave = waveForFrequency(frequencyText);
    const std::optional<double> barScale = barScaleForDistance(numberText(distance));
    if (!wave || !barScale) return std::nullopt;
    return ExploreSetting{std::string(frequencyText), distance, Scene::forDistance(distance), *wave,
                          *barScale};
}

Explorer::Explorer(ExploreSetting setting)
    : setting_(std::move(setting)), paths_(kRunPaths), continuous_(kStepCount)
{
}

void Explorer::choose(int step, int paths)
{
    step_ = std::clamp(step, 0, kLastStep);
    if (isPathCount(paths)) paths_ = paths;
}

const Chain& Explorer::chain()
{
    if (paths_ == kInfinitePaths) return curve();
    if (chainStep_ != step_ || chainPaths_ != paths_) {
        chain_ = arrowChain(setting_.scene, setting_.wave, offsetOfStep(step_), paths_);
        chainStep_ = step_;
        chainPaths_ = paths_;
    }
    return chain_;
}

const Chain& Explorer::curve()
{
    if (curveStep_ != step_) {
        curve_ = continuousChain(setting_.scene, setting_.wave, offsetOfStep(step_),
                                 continuousSum(step_).panels);
        curveStep_ = step_;
    }
    return curve_;
}

double Explorer::squaredLength()
{
    if (paths_ == kInfinitePaths) return continuousSum(step_).squaredLength;
    const Chain& c = chain();
    const double ex = c.back().x - c.front().x;
    const double ey = c.back().y - c.front().y;
    return ex * ex + ey * ey;
}

void Explorer::computeRunSums()
{
    if (!runSums_.empty()) return;
    runSums_.reserve(kStepCount);
    for (int step = 0; step < kStepCount; ++step) {
        runSums_.push_back(
            portableStepSum(setting_.scene, setting_.wave, offsetOfStep(step)).squaredLength);
    }
}

double Explorer::runSquaredLength(int step)
{
    computeRunSums();
    return runSums_[std::clamp(step, 0, kLastStep)];
}

double Explorer::highestSquaredLength()
{
    computeRunSums();
    return *std::max_element(runSums_.begin(), runSums_.end());
}

const ContinuousSum& Explorer::continuousSum(int step)
{
    step = std::clamp(step, 0, kLastStep);
    std::optional<ContinuousSum>& known = continuous_[step];
    if (!known) {
        known = continuousSquaredLength(setting_.scene, setting_.wave, offsetOfStep(step));
    }
    return *known;
}

bool Explorer::continuousKnown(int step) const
{
    return step >= 0 && step < kStepCount && continuous_[step].has_value();
}

}  // namespace kvelmor
