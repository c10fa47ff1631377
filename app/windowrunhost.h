#pragma once

#include "run/runhost.h"

namespace kvelmor {

class FrmKvelmor;

// The window as a run sees it: its settings boxes and scene labels, reached by name, and the wait
// before each detector step.
class WindowRunHost final : public RunHost {
public:
    explicit WindowRunHost(FrmKvelmor& window) : window_(window) {}

    std::string settingsText(SettingsBox box) const override;
    void placeLabel(SceneLabel label, double left, double top) override;
    bool pace(double count) override;

private:
    FrmKvelmor& window_;
};

}  // namespace kvelmor
