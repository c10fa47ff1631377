#pragma once

#include <chrono>

#include "run/runhost.h"

namespace kvelmor {

class FrmKvelmor;

// The time a run's waits are measured on and slept through.
class PaceClock {
public:
    virtual ~PaceClock() = default;
    virtual std::chrono::steady_clock::time_point now() = 0;
    virtual void sleepFor(std::chrono::nanoseconds duration) = 0;
};

// The steady clock and the thread's own sleep: the clock of every run of the program.
PaceClock& steadyPaceClock();

// The window as a run sees it: its settings boxes and scene labels, reached by name, and the wait
// before each detector step, on `clock`.
class WindowRunHost final : public RunHost {
public:
    explicit WindowRunHost(FrmKvelmor& window, PaceClock& clock = steadyPaceClock())
        : window_(window), clock_(clock)
    {
    }

    std::string settingsText(SettingsBox box) const override;
    void placeLabel(SceneLabel label, double left, double top) override;
    bool pace(double count) override;
    void stepDone(int j) override;

private:
    FrmKvelmor& window_;
    PaceClock& clock_;
};

}  // namespace kvelmor
