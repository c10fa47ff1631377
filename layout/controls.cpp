#include "layout/controls.h"

#include <algorithm>

namespace kvelmor {

namespace {

using K = ControlKind;
using F = ControlFont;
using T = TextKey;

// clang-format off
constexpr ControlRow kControls[] = {
    {"labNeurcitost",      K::Label,       "",              T::Heading,          2040,  120, 4215,  375, F::TimesBold19, true,   0, T::None,         T::None},
    {"cmdStart",           K::Button,      "",              T::StartButton,      8400,    0,  975,  495, F::TimesBold21, true,   1, T::None,         T::StartDescription},
    {"cmdKonec",           K::Button,      "",              T::QuitButton,       9480,    0,  975,  495, F::TimesBold19, true,   7, T::None,         T::QuitDescription},
    {"LabStart",           K::Label,       "",              T::StartPrompt,      3240, 2760, 3495,  495, F::TimesBold21, true,   6, T::None,         T::None},
    {"HScroll1",           K::ScrollBar,   "",              T::None,             2640,  480, 2415,  255, F::Default,     true,  26, T::SlowDownName, T::SlowDownDescription},
    {"frmFrekvence",       K::Frame,       "",              T::FrequencyFrame,    120,  120, 1815, 1575, F::ArialBold,   true,   8, T::None,         T::FrequencyFrameDescription},
    {"op5",                K::Option,      "frmFrekvence",  T::FrequencyHighest,  120,  240, 1215,  195, F::Arial,       true,  19, T::None,         T::None},
    {"op1",                K::Option,      "frmFrekvence",  T::FrequencyHigh,     240,  468,  855,  255, F::Arial,       true,   9, T::None,         T::None},
    {"op06",               K::Option,      "frmFrekvence",  T::FrequencyMedium,   360,  720, 1095,  240, F::Arial,       true,  10, T::None,         T::None},
    {"op02",               K::Option,      "frmFrekvence",  T::FrequencyLow,      480,  960,  855,  255, F::Arial,       true,  12, T::None,         T::None},
    {"op003",              K::Option,      "frmFrekvence",  T::FrequencyLowest,   600, 1200,  735,  255, F::Default,     true,  20, T::None,         T::None},
    {"frmVzdalenost",      K::Frame,       "",              T::DistanceFrame,     120, 1800, 1695, 1215, F::ArialBold,   true,  14, T::None,         T::DistanceFrameDescription},
    {"opV300",             K::Option,      "frmVzdalenost", T::Distance300,       360,  360,  735,  195, F::Arial,       true,  17, T::None,         T::None},
    {"opV350",             K::Option,      "frmVzdalenost", T::Distance350,       360,  600,  855,  255, F::Arial,       true,  15, T::None,         T::None},
    {"opV400",             K::Option,      "frmVzdalenost", T::Distance400,       360,  840,  735,  255, F::Arial,       true,  18, T::None,         T::None},
    {"frmAnimace",         K::Frame,       "",              T::SpeedFrame,        240, 6360, 1215, 1215, F::ArialBold,   false, 22, T::None,         T::None},
    {"opRychlá",           K::Option,      "frmAnimace",    T::SpeedFast,         120,  360,  975,  195, F::Default,     true,  23, T::None,         T::None},
    {"OpPomalejší",        K::Option,      "frmAnimace",    T::SpeedSlower,       120,  600,  975,  195, F::Default,     true,  24, T::None,         T::None},
    {"opPomalá",           K::Option,      "frmAnimace",    T::SpeedSlow,         120,  840,  855,  195, F::Default,     true,  25, T::None,         T::None},
    {"labZdroj",           K::Label,       "",              T::SourceLabel,      6840,    0,  495,  255, F::ArialBold,   false,  3, T::None,         T::None},
    {"labClona",           K::Label,       "",              T::BarrierLabel,     5400,  480, 2055,  375, F::ArialBold,   false,  2, T::None,         T::None},
    {"labDetektorB",       K::Label,       "",              T::DetectorLabel,    4440,  480, 1215,  255, F::ArialBold,   false,  5, T::None,         T::None},
    {"labPravděpodobnost", K::Label,       "",              T::ProbabilityLabel,  480,  480, 1815,  255, F::ArialBold,   false, 13, T::None,         T::None},
    {"nSpomaleni",         K::SettingsBox, "",              T::SlowDownBoxText,  3480,  840,  975,  285, F::Default,     false, 21, T::None,         T::None},
    {"nRozteč",            K::SettingsBox, "",              T::DistanceBoxText,   360, 4320, 1215,  375, F::Default,     false, 16, T::None,         T::None},
    {"nFi",                K::SettingsBox, "",              T::FrequencyBoxText, 2280, 1200,  495,  285, F::Default,     false, 11, T::None,         T::None},
};
// clang-format on

}  // namespace

FontFace fontFace(ControlFont font)
{
    switch (font) {
    case ControlFont::ArialBold:
        return {"Arial", 13, true};
    case ControlFont::Arial:
        return {"Arial", 13, false};
    case ControlFont::TimesBold19:
        return {"Times New Roman", 19, true};
    case ControlFont::TimesBold21:
        return {"Times New Roman", 21, true};
    case ControlFont::Default:
        break;
    }
    return {"Arial", 11, false};  // 8.25 pt; renders Czech letters
}

std::span<const ControlRow> controlRows()
{
    return kControls;
}

const ControlRow* findControl(std::string_view name)
{
    const auto* row = std::find_if(std::begin(kControls), std::end(kControls),
                                   [name](const ControlRow& r) { return r.name == name; });
    return row == std::end(kControls) ? nullptr : row;
}

TextKey accessibleName(const ControlRow& row)
{
    return row.accessibleName == TextKey::None ? row.caption : row.accessibleName;
}

}  // namespace kvelmor
