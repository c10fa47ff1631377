#include "app/controls.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "app/kvelmorstyle.h"

namespace kvelmor {

namespace {

enum class Kind { Label, Button, ScrollBar, Frame, Option, SettingsBox };
enum class Font { ArialBold, Arial, TimesBold19, TimesBold21, Default };

struct ControlRow {
    const char* name;
    Kind kind;
    const char* container;  // nullptr: the window itself
    const char* caption;
    int left, top, width, height;  // twips, relative to the container
    Font font;
    bool shown;
    int tabIndex;
};

// clang-format off
constexpr ControlRow kControls[] = {
    {"labNeurcitost",      Kind::Label,       nullptr,          "Interference - Kvelmor",     2040,  120, 4215,  375, Font::TimesBold19, true,   0},
    {"cmdStart",           Kind::Button,      nullptr,          "Start",                      8400,    0,  975,  495, Font::TimesBold21, true,   1},
    {"cmdKonec",           Kind::Button,      nullptr,          "Konec",                      9480,    0,  975,  495, Font::TimesBold19, true,   7},
    {"LabStart",           Kind::Label,       nullptr,          "Klepněte na tlačítko Start", 3240, 2760, 3495,  495, Font::TimesBold21, true,   6},
    {"HScroll1",           Kind::ScrollBar,   nullptr,          "",                           2640,  480, 2415,  255, Font::Default,     true,  26},
    {"frmFrekvence",       Kind::Frame,       nullptr,          "Kmitočet fotonu",             120,  120, 1815, 1575, Font::ArialBold,   true,   8},
    {"op5",                Kind::Option,      "frmFrekvence",   "vysoký",                      120,  240, 1215,  195, Font::Arial,       true,  19},
    {"op1",                Kind::Option,      "frmFrekvence",   "vyšší",                       240,  468,  855,  255, Font::Arial,       true,   9},
    {"op06",               Kind::Option,      "frmFrekvence",   "střední",                     360,  720, 1095,  240, Font::Arial,       true,  10},
    {"op02",               Kind::Option,      "frmFrekvence",   "nižší",                       480,  960,  855,  255, Font::Arial,       true,  12},
    {"op003",              Kind::Option,      "frmFrekvence",   "nízký",                       600, 1200,  735,  255, Font::Default,     true,  20},
    {"frmVzdalenost",      Kind::Frame,       nullptr,          "Detektor-Clona",              120, 1800, 1695, 1215, Font::ArialBold,   true,  14},
    {"opV300",             Kind::Option,      "frmVzdalenost",  "300",                         360,  360,  735,  195, Font::Arial,       true,  17},
    {"opV350",             Kind::Option,      "frmVzdalenost",  "350",                         360,  600,  855,  255, Font::Arial,       true,  15},
    {"opV400",             Kind::Option,      "frmVzdalenost",  "400",                         360,  840,  735,  255, Font::Arial,       true,  18},
    {"frmAnimace",         Kind::Frame,       nullptr,          "Animace",                     240, 6360, 1215, 1215, Font::ArialBold,   false, 22},
    {"opRychlá",           Kind::Option,      "frmAnimace",     "Rychlá",                      120,  360,  975,  195, Font::Default,     true,  23},
    {"OpPomalejší",        Kind::Option,      "frmAnimace",     "Pomalejší",                   120,  600,  975,  195, Font::Default,     true,  24},
    {"opPomalá",           Kind::Option,      "frmAnimace",     "Pomalá",                      120,  840,  855,  195, Font::Default,     true,  25},
    {"labZdroj",           Kind::Label,       nullptr,          "Zdroj",                      6840,    0,  495,  255, Font::ArialBold,   false,  3},
    {"labClona",           Kind::Label,       nullptr,          "Clona se štěrbinou",         5400,  480, 2055,  375, Font::ArialBold,   false,  2},
    {"labDetektorB",       Kind::Label,       nullptr,          "Detektor",                   4440,  480, 1215,  255, Font::ArialBold,   false,  5},
    {"labPravděpodobnost", Kind::Label,       nullptr,          "Pravděpodobnost",             480,  480, 1815,  255, Font::ArialBold,   false, 13},
    {"nSpomaleni",         Kind::SettingsBox, nullptr,          "Spomaleni",                  3480,  840,  975,  285, Font::Default,     false, 21},
    {"nRozteč",            Kind::SettingsBox, nullptr,          "Rozteč",                      360, 4320, 1215,  375, Font::Default,     false, 16},
    {"nFi",                Kind::SettingsBox, nullptr,          "Fi",                         2280, 1200,  495,  285, Font::Default,     false, 11},
};
// clang-format on

const QColor kBackColour(0xC0, 0xC0, 0xC0);

// Sizes in pixels, not points, so that a desktop's font DPI cannot make captions outgrow their
// rectangles: 9.75 pt, 14.25 pt and 15.75 pt are 13, 19 and 21 pixels at 96 dpi.
QFont fontOf(Font font)
{
    switch (font) {
    case Font::ArialBold:
        return makeFont(QStringLiteral("Arial"), 13, true);
    case Font::Arial:
        return makeFont(QStringLiteral("Arial"), 13, false);
    case Font::TimesBold19:
        return makeFont(QStringLiteral("Times New Roman"), 19, true);
    case Font::TimesBold21:
        return makeFont(QStringLiteral("Times New Roman"), 21, true);
    case Font::Default:
        break;
    }
    return defaultFont();
}

QWidget* makeControl(const ControlRow& row, QWidget* parent)
{
    const QString caption = QString::fromUtf8(row.caption);
    switch (row.kind) {
    case Kind::Label: {
        auto* label = new QLabel(caption, parent);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setWordWrap(true);
        label->setAutoFillBackground(true);  // opaque: the drawing never shows through
        label->setTextFormat(Qt::PlainText);
        return label;
    }
    case Kind::Button: {
        auto* button = new QPushButton(caption, parent);
        button->setAutoDefault(false);
        button->setDefault(false);
        return button;
    }
    case Kind::ScrollBar: {
        auto* bar = new QScrollBar(Qt::Horizontal, parent);
        bar->setRange(0, 32767);
        bar->setSingleStep(1);
        bar->setPageStep(1);
        bar->setValue(0);
        bar->setTracking(false);               // report a dragged thumb only when it is released
        bar->setFocusPolicy(Qt::StrongFocus);  // a tab stop, moved by the arrow keys
        bar->setInvertedControls(false);       // Right and Up slow down, as the arrows show
        return bar;
    }
    case Kind::Frame: {
        auto* frame = new QGroupBox(caption, parent);
        frame->setAutoFillBackground(true);
        return frame;
    }
    case Kind::Option: {
        auto* option = new QRadioButton(caption, parent);
        option->setAutoFillBackground(true);
        option->setAutoExclusive(true);  // one exclusive group per frame
        return option;
    }
    case Kind::SettingsBox:
        return new QLineEdit(caption, parent);
    }
    return nullptr;
}

}  // namespace

int twipsToPixels(double twips)
{
    return static_cast<int>(std::lround(twips / 15.0));
}

// Every attribute is set, so that a control never inherits, say, the bold of its frame's caption.
QFont makeFont(const QString& family, int pixelSize, bool bold)
{
    QFont f(family);
    f.setPixelSize(pixelSize);
    f.setWeight(bold ? QFont::Bold : QFont::Normal);
    f.setItalic(false);
    f.setUnderline(false);
    f.setStrikeOut(false);
    return f;
}

QFont defaultFont()
{
    return makeFont(QStringLiteral("Arial"), 11, false);  // 8.25 pt; renders Czech letters
}

void createControls(QWidget* window)
{
    auto* style = new KvelmorStyle;
    style->setParent(window);
    std::vector<std::pair<int, QWidget*>> tabOrder;
    for (const ControlRow& row : kControls) {
        QWidget* parent =
            row.container ? window->findChild<QWidget*>(QString::fromUtf8(row.container)) : window;
        QWidget* control = makeControl(row, parent);
        control->setObjectName(QString::fromUtf8(row.name));
        control->setStyle(style);
        control->setGeometry(twipsToPixels(row.left), twipsToPixels(row.top),
                             twipsToPixels(row.width), twipsToPixels(row.height));
        control->setFont(fontOf(row.font));
        if (row.kind != Kind::ScrollBar && row.kind != Kind::SettingsBox) {
            QPalette palette = control->palette();
            palette.setColor(QPalette::Window, kBackColour);
            palette.setColor(QPalette::Button, kBackColour);
            control->setPalette(palette);
        }
        control->setVisible(row.shown);
        if (control->focusPolicy() != Qt::NoFocus) tabOrder.emplace_back(row.tabIndex, control);
    }

    std::sort(tabOrder.begin(), tabOrder.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < tabOrder.size(); ++i) {
        QWidget::setTabOrder(tabOrder[i - 1].second, tabOrder[i].second);
    }
}

}  // namespace kvelmor
