#pragma once

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

private:
    Pacer pacer_;
};

}  // namespace kvelmor
