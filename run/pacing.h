#pragma once

#include <chrono>
#include <cmath>

namespace kvelmor {

// One unit of the slow-down count waits 50 ns: the default count 1 is no delay at all, and the
// scroll bar's largest count, 983011, makes about 49 ms a detector step, some 11 s a run.
inline constexpr std::chrono::nanoseconds kPaceUnit{50};

// Counts that no setting writes (negative, not a number, absurdly large) must neither hang the
// run nor overflow the clock, so they wait nothing or at most 10 s a step.
constexpr std::chrono::nanoseconds paceDuration(double count)
{
    constexpr double maxCount = 10e9 / 50;
    if (!(count > 0)) return std::chrono::nanoseconds{0};
    if (count > maxCount) count = maxCount;
    return std::chrono::nanoseconds{static_cast<long long>(count * kPaceUnit.count())};
}

}  // namespace kvelmor
