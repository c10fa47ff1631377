#include "explore/session.h"

#include <algorithm>

#include "explore/paths.h"

namespace kvelmor {

void ExplorerSession::useSetting(const ExploreSetting& setting)
{
    if (explorer_ && explorer_->setting().frequencyText == setting.frequencyText &&
        explorer_->setting().distance == setting.distance) {
        return;
    }
    const int paths = explorer_ ? explorer_->paths() : kRunPaths;
    explorer_ = std::make_unique<Explorer>(setting);
    explorer_->choose(0, paths);
}

void ExplorerSession::exploreRun(const ExploreSetting& setting, int step)
{
    stopSweep();
    useSetting(setting);
    following_ = false;
    lastKnown_ = kLastStep;
    explorer_->choose(step, explorer_->paths());
}

void ExplorerSession::followRun(const ExploreSetting& setting)
{
    stopSweep();
    useSetting(setting);
    following_ = true;
    lastKnown_ = -1;
}

bool ExplorerSession::followStep(int step)
{
    if (!following_) return false;
    lastKnown_ = std::clamp(step, 0, kLastStep);
    explorer_->choose(lastKnown_, explorer_->paths());
    return true;
}

bool ExplorerSession::endFollowing(bool completed)
{
    if (!following_) return false;
    following_ = false;
    if (completed) lastKnown_ = kLastStep;
    return true;
}

bool ExplorerSession::choose(int step, int paths)
{
    if (!explorer_ || following_) return false;
    explorer_->choose(step, paths);
    return true;
}

bool ExplorerSession::pressSweep(Sweep sweep, double seconds)
{
    const bool again = sweep_ == sweep;
    stopSweep();
    if (again || sweep == Sweep::None || !explorer_ || following_) return false;
    sweep_ = sweep;
    sweepStart_ = seconds;
    return sweepFrame(seconds);
}

bool ExplorerSession::stopSweep()
{
    const bool was = sweep_ != Sweep::None;
    sweep_ = Sweep::None;
    return was;
}

// Where a sweep stands is taken from the time since it began, so that it lasts as long at any
// frame rate, and a slow machine only shows fewer of its frames.
bool ExplorerSession::sweepFrame(double seconds)
{
    if (sweep_ == Sweep::None) return false;
    const double elapsed = std::max(seconds - sweepStart_, 0.0);
    if (sweep_ == Sweep::Paths) {
        const double fraction = elapsed / kPathsSweepSeconds;
        explorer_->choose(explorer_->step(), sweptPaths(fraction));
        if (fraction >= 1) stopSweep();
    } else {
        const int step = std::min(int(elapsed * kHeightStepsPerSecond), kLastStep);
        explorer_->choose(step, explorer_->paths());
        if (step == kLastStep) stopSweep();
    }
    return true;
}

}  // namespace kvelmor
