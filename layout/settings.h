#pragma once

#include <span>
#include <string>
#include <string_view>

#include "run/runhost.h"

namespace kvelmor {

// The settings actions of the window, shared by the desktop window and the browser page: what
// each option writes into its settings box, what the scroll bar writes, and the load step.

struct OptionAction {
    std::string_view option;  // the option button's name, "op06"
    SettingsBox box;
    double value;  // written as its number text
};

std::span<const OptionAction> optionActions();

// The action of the option called `name`, or nullptr.
const OptionAction* findOptionAction(std::string_view name);

// The frequency options by the words that kvelmor-export's options and the page's address name
// them with: the Czech captions without accents, easy to type anywhere. From the lowest frequency
// to the highest.
struct FrequencyWord {
    std::string_view word;
    std::string_view option;
};
inline constexpr FrequencyWord kFrequencyWords[] = {
    {"nizky", "op003"}, {"nizsi", "op02"}, {"stredni", "op06"}, {"vyssi", "op1"}, {"vysoky", "op5"},
};

// The name of a settings box, as the window names its hidden text field.
std::string_view settingsBoxName(SettingsBox box);

// The four scene labels, hidden until a run shows and places them, and the name of each.
inline constexpr SceneLabel kSceneLabels[] = {SceneLabel::labClona, SceneLabel::labDetektorB,
                                              SceneLabel::labPravděpodobnost, SceneLabel::labZdroj};
std::string_view sceneLabelName(SceneLabel label);

// The window as the settings actions see it.
class SettingsForm {
public:
    virtual ~SettingsForm() = default;

    virtual std::string boxText(SettingsBox box) const = 0;
    virtual void setBoxText(SettingsBox box, const std::string& text) = 0;

    // Selects the option, clearing the others of its frame. Like a selection by the user, it
    // runs the option's action (optionSelected) when the option was not selected before.
    virtual void selectOption(std::string_view option) = 0;
};

// An option became selected, by the user or by the program: writes its value into its box.
void optionSelected(SettingsForm& form, std::string_view option);

// The scroll bar's value changed to v: writes v, then reads it back and writes 30 v + 1, the
// slow-down count, from 1 at the left end to 983011 at the right.
void scrollChanged(SettingsForm& form, int value);

// Once, before the window is first shown: selects "střední", "350" and the fastest pace, and
// fills the boxes with those defaults (0.6, 350, count 1).
void loadStep(SettingsForm& form);

}  // namespace kvelmor
