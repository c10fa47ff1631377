#pragma once

#include <chrono>
#include <functional>

#include "run/pacing.h"

namespace kvelmor {

// The wait before a detector step in the browser. The run is one synchronous procedure; a sleep
// hands control back to the browser (Emscripten's Asyncify), which then paints what the run drew
// and keeps the page alive. Waits of a few milliseconds or more are slept; shorter ones are spun,
// since a browser timer is not finer than that. A run whose steps wait less than a frame still
// yields once a frame (kFrame), so the picture grows step by step, but not more often: each yield
// costs a timer tick, and 221 of them would make the fastest run slow.
class Pacer {
public:
    using Duration = std::chrono::nanoseconds;

    static constexpr Duration kFrame = std::chrono::milliseconds(16);
    static constexpr Duration kShortestSleep = std::chrono::milliseconds(4);

    // `now` reads a steady clock; `sleep` yields to the browser for about the given time.
    Pacer(std::function<Duration()> now, std::function<void(std::chrono::milliseconds)> sleep)
        : now_(std::move(now)), sleep_(std::move(sleep))
    {
    }

    // At the start of a run: the browser has just had control.
    void begin() { lastYield_ = now_(); }

    // Waits paceDuration(count), then yields if the browser has not had control for a frame.
    void pace(double count)
    {
        const Duration deadline = now_() + paceDuration(count);
        for (Duration left = deadline - now_(); left > Duration::zero(); left = deadline - now_()) {
            if (left >= kShortestSleep) {
                sleep_(std::chrono::floor<std::chrono::milliseconds>(left));
                lastYield_ = now_();
            }
        }
        if (now_() - lastYield_ >= kFrame) {
            sleep_(std::chrono::milliseconds(0));
            lastYield_ = now_();
        }
    }

private:
    std::function<Duration()> now_;
    std::function<void(std::chrono::milliseconds)> sleep_;
    Duration lastYield_{};
};

}  // namespace kvelmor
