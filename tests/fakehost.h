#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "run/runhost.h"

// A window stand-in for runs in tests: settings boxes as plain strings, label placements and
// pacing calls logged, and a close that can be arranged for a given step.
class FakeHost final : public kvelmor::RunHost {
public:
    struct Placement {
        kvelmor::SceneLabel label;
        double left, top;
    };

    std::map<kvelmor::SettingsBox, std::string> boxes{{kvelmor::SettingsBox::nSpomaleni, "1"},
                                                      {kvelmor::SettingsBox::nRozteč, "350"},
                                                      {kvelmor::SettingsBox::nFi, "0.6"}};
    std::vector<Placement> placements;
    std::vector<double> paceCounts;
    int closeBeforeStep = -1;             // pace() of this step (0-based) reports the window closed
    std::vector<int> stepsDone;           // the offsets j the run said it had drawn, in order
    std::vector<std::size_t> doneAtPace;  // how many of them were said before each pace()

    std::string settingsText(kvelmor::SettingsBox box) const override { return boxes.at(box); }
    void placeLabel(kvelmor::SceneLabel label, double left, double top) override
    {
        placements.push_back({label, left, top});
    }
    bool pace(double count) override
    {
        paceCounts.push_back(count);
        doneAtPace.push_back(stepsDone.size());
        return int(paceCounts.size()) - 1 != closeBeforeStep;
    }
    void stepDone(int j) override { stepsDone.push_back(j); }
};
