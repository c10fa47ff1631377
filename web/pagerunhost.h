#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>

#include "run/runhost.h"
#include "web/pacer.h"

namespace kvelmor {

// The page as a run sees it: the hidden settings fields, the scene labels, and the wait before
// each detector step, which hands control to the browser (see Pacer).
//
// The page takes no input while a run lasts, so the fields keep their texts throughout it: each
// is read from the page once a run, not at every step.
class PageRunHost final : public RunHost {
public:
    PageRunHost();

    // At the start of each run.
    void begin()
    {
        texts_ = {};
        pacer_.begin();
    }

    // Told each time the run is about to hand control to the browser, which may then paint.
    void setBeforeYield(std::function<void()> told) { beforeYield_ = std::move(told); }

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
    std::function<void()> beforeYield_;
    mutable std::array<std::optional<std::string>, 3> texts_;  // one for each SettingsBox
};

}  // namespace kvelmor
