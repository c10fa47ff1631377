#pragma once

#include <string>

namespace kvelmor {

enum class SettingsBox { nSpomaleni, nRozteč, nFi };
enum class SceneLabel { labClona, labDetektorB, labPravděpodobnost, labZdroj };

// What a run needs from the window besides the drawing surface: the texts of the settings boxes,
// the scene labels, and the wait before each detector step.
class RunHost {
public:
    virtual ~RunHost() = default;

    virtual std::string settingsText(SettingsBox box) const = 0;

    // Shows the label and moves its top-left corner to (left, top), in twips.
    virtual void placeLabel(SceneLabel label, double left, double top) = 0;

    // Waits in proportion to the slow-down count before a detector step. Returns false when the
    // window has been closed meanwhile: the run then stops at once.
    virtual bool pace(double count) = 0;

    // Told after each detector step has been drawn and flushed, with its offset j: a view that
    // follows the run (the explorer) shows that step. Nothing by default.
    virtual void stepDone(int /*j*/) {}
};

}  // namespace kvelmor
