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
//
// A browser's clock is coarse (performance.now() runs in steps of 0.1 ms in Chromium, up to 1 ms
// elsewhere): a wait of 50 ns, count 1's, spun on it lasts until its next step, and at 221 steps
// that adds some 20 ms to the fastest run. Waits shorter than kShortestSpin are therefore owed and
// added up, and waited off together once they come to that much: a run's waits last as long in
// all as before, but for less than kShortestSpin left owing at its end.
class Pacer {
public:
    using Duration = std::chrono::nanoseconds;

    static constexpr Duration kFrame = std::chrono::milliseconds(16);
    static constexpr Duration kShortestSleep = std::chrono::milliseconds(4);
    static constexpr Duration kShortestSpin = std::chrono::milliseconds(1);

    // `now` reads a steady clock; `sleep` yields to the browser for about the given time, and for
    // 0 ms until the browser has shown its next frame.
    Pacer(std::function<Duration()> now, std::function<void(std::chrono::milliseconds)> sleep)
        : now_(std::move(now)), sleep_(std::move(sleep))
    {
    }

    // At the start of a run: the browser has just had control.
    void begin()
    {
        lastYield_ = now_();
        owed_ = Duration::zero();
    }

    // Waits paceDuration(count), or owes it while the waits owed come to less than
    // kShortestSpin; then yields if the browser has not had control for a frame.
    void pace(double count)
    {
        owed_ += paceDuration(count);
        if (owed_ >= kShortestSpin) wait();
        if (now_() - lastYield_ >= kFrame) {
            sleep_(std::chrono::milliseconds(0));
            lastYield_ = now_();
        }
    }

private:
    void wait()
    {
        const Duration deadline = now_() + owed_;
        owed_ = Duration::zero();
        for (Duration left = deadline - now_(); left > Duration::zero(); left = deadline - now_()) {
            if (left >= kShortestSleep) {
                sleep_(std::chrono::floor<std::chrono::milliseconds>(left));
                lastYield_ = now_();
            }
        }
    }

    std::function<Duration()> now_;
    std::function<void(std::chrono::milliseconds)> sleep_;
    Duration lastYield_{};
    Duration owed_{};
};

}  // namespace kvelmor
