#include "layout/settings.h"

#include <algorithm>

#include "run/numbertext.h"

namespace kvelmor {

namespace {

using B = SettingsBox;

constexpr OptionAction kOptionActions[] = {
    {"op003", B::nFi, 0.03},
    {"op02", B::nFi, 0.2},
    {"op06", B::nFi, 0.6},
    {"op1", B::nFi, 1},
    {"op5", B::nFi, 5},
    {"opV300", B::nRozteč, 300},
    {"opV350", B::nRozteč, 350},
    {"opV400", B::nRozteč, 400},
    {"opRychlá", B::nSpomaleni, 1},
    {"OpPomalejší", B::nSpomaleni, 500000},  // the smaller count of the two slow ones
    {"opPomalá", B::nSpomaleni, 1000000},
};

}  // namespace

std::span<const OptionAction> optionActions()
{
    return kOptionActions;
}

const OptionAction* findOptionAction(std::string_view name)
{
    const auto* action = std::find_if(std::begin(kOptionActions), std::end(kOptionActions),
                                      [name](const OptionAction& a) { return a.option == name; });
    return action == std::end(kOptionActions) ? nullptr : action;
}

std::string_view settingsBoxName(SettingsBox box)
{
    switch (box) {
    case SettingsBox::nSpomaleni:
        return "nSpomaleni";
    case SettingsBox::nRozteč:
        return "nRozteč";
    case SettingsBox::nFi:
        return "nFi";
    }
    return "";
}

std::string_view sceneLabelName(SceneLabel label)
{
    switch (label) {
    case SceneLabel::labClona:
        return "labClona";
    case SceneLabel::labDetektorB:
        return "labDetektorB";
    case SceneLabel::labPravděpodobnost:
        return "labPravděpodobnost";
    case SceneLabel::labZdroj:
        return "labZdroj";
    }
    return "";
}

void optionSelected(SettingsForm& form, std::string_view option)
{
    if (const OptionAction* action = findOptionAction(option)) {
        form.setBoxText(action->box, numberText(action->value));
    }
}

void scrollChanged(SettingsForm& form, int value)
{
    form.setBoxText(SettingsBox::nSpomaleni, numberText(value));
    const double written = numberFromText(form.boxText(SettingsBox::nSpomaleni));
    form.setBoxText(SettingsBox::nSpomaleni, numberText(written * 30 + 1));
}

void loadStep(SettingsForm& form)
{
    form.selectOption("op06");
    form.setBoxText(SettingsBox::nFi, numberText(0.6));
    form.selectOption("opV350");
    form.selectOption("opRychlá");
    form.setBoxText(SettingsBox::nSpomaleni, numberText(1));
}

}  // namespace kvelmor
