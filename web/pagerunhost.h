#pragma once

#include <functional>

#include "run/runhost.h"
#include "web/pacer.h"

namespace kvelmor {

// The page as a run sees it: the hidden settings fields, the scene labels, and the wait before
// each detector step, which hands control to the browser (see Pacer).
class PageRunHost final : public RunHost {
public:
    PageRunHost();

    // At the start of each run.
    void begin() { pacer_.begin(); }

    std::string settingsText(SettingsBox box) const override;
    void placeLabel(SceneLabel label, double left, double top) override;
    bool pace(double count) override;

    // Told of each detector step once drawn, with its offset j (the explorer's panel follows).
    void setStepDone(std::function<void(int j)> told) { stepDone_ = std::move(told); }
    void stepDone(int j) override
    {
        if (stepDone_) stepDone_(j);
    }

private:
    Pacer pacer_;
    std::function<void(int)> stepDone_;
};

}  // namespace kvelmor
