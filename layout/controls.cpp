#include "layout/controls.h"

#include <algorithm>

namespace kvelmor {

namespace {

using K = ControlKind;
using F = ControlFont;

// clang-format off
constexpr ControlRow kControls[] = {
    {"labNeurcitost",      K::Label,       "",              "Interference - Kvelmor",     2040,  120, 4215,  375, F::TimesBold19, true,   0, "", ""},
    {"cmdStart",           K::Button,      "",              "Start",                      8400,    0,  975,  495, F::TimesBold21, true,   1, "", "Spustí pokus: nakreslí optickou lavici a krok po kroku obrazec ohybu."},
    {"cmdKonec",           K::Button,      "",              "Konec",                      9480,    0,  975,  495, F::TimesBold19, true,   7, "", "Ukončí program."},
    {"LabStart",           K::Label,       "",              "Klepněte na tlačítko Start", 3240, 2760, 3495,  495, F::TimesBold21, true,   6, "", ""},
    {"HScroll1",           K::ScrollBar,   "",              "",                           2640,  480, 2415,  255, F::Default,     true,  26, "Zpomalení", "Zpomalí běh pokusu: vlevo je okamžitý, vpravo nejpomalejší."},
    {"frmFrekvence",       K::Frame,       "",              "Kmitočet fotonu",             120,  120, 1815, 1575, F::ArialBold,   true,   8, "", "Volí kmitočet fotonu."},
    {"op5",                K::Option,      "frmFrekvence",  "vysoký",                      120,  240, 1215,  195, F::Arial,       true,  19, "", ""},
    {"op1",                K::Option,      "frmFrekvence",  "vyšší",                       240,  468,  855,  255, F::Arial,       true,   9, "", ""},
    {"op06",               K::Option,      "frmFrekvence",  "střední",                     360,  720, 1095,  240, F::Arial,       true,  10, "", ""},
    {"op02",               K::Option,      "frmFrekvence",  "nižší",                       480,  960,  855,  255, F::Arial,       true,  12, "", ""},
    {"op003",              K::Option,      "frmFrekvence",  "nízký",                       600, 1200,  735,  255, F::Default,     true,  20, "", ""},
    {"frmVzdalenost",      K::Frame,       "",              "Detektor-Clona",              120, 1800, 1695, 1215, F::ArialBold,   true,  14, "", "Volí vzdálenost detektoru od clony."},
    {"opV300",             K::Option,      "frmVzdalenost", "300",                         360,  360,  735,  195, F::Arial,       true,  17, "", ""},
    {"opV350",             K::Option,      "frmVzdalenost", "350",                         360,  600,  855,  255, F::Arial,       true,  15, "", ""},
    {"opV400",             K::Option,      "frmVzdalenost", "400",                         360,  840,  735,  255, F::Arial,       true,  18, "", ""},
    {"frmAnimace",         K::Frame,       "",              "Animace",                     240, 6360, 1215, 1215, F::ArialBold,   false, 22, "", ""},
    {"opRychlá",           K::Option,      "frmAnimace",    "Rychlá",                      120,  360,  975,  195, F::Default,     true,  23, "", ""},
    {"OpPomalejší",        K::Option,      "frmAnimace",    "Pomalejší",                   120,  600,  975,  195, F::Default,     true,  24, "", ""},
    {"opPomalá",           K::Option,      "frmAnimace",    "Pomalá",                      120,  840,  855,  195, F::Default,     true,  25, "", ""},
    {"labZdroj",           K::Label,       "",              "Zdroj",                      6840,    0,  495,  255, F::ArialBold,   false,  3, "", ""},
    {"labClona",           K::Label,       "",              "Clona se štěrbinou",         5400,  480, 2055,  375, F::ArialBold,   false,  2, "", ""},
    {"labDetektorB",       K::Label,       "",              "Detektor",                   4440,  480, 1215,  255, F::ArialBold,   false,  5, "", ""},
    {"labPravděpodobnost", K::Label,       "",              "Pravděpodobnost",             480,  480, 1815,  255, F::ArialBold,   false, 13, "", ""},
    {"nSpomaleni",         K::SettingsBox, "",              "Spomaleni",                  3480,  840,  975,  285, F::Default,     false, 21, "", ""},
    {"nRozteč",            K::SettingsBox, "",              "Rozteč",                      360, 4320, 1215,  375, F::Default,     false, 16, "", ""},
    {"nFi",                K::SettingsBox, "",              "Fi",                         2280, 1200,  495,  285, F::Default,     false, 11, "", ""},
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

std::string_view accessibleName(const ControlRow& row)
{
    return row.accessibleName.empty() ? row.caption : row.accessibleName;
}

}  // namespace kvelmor
