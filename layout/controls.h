#pragma once

#include <span>
#include <string_view>

#include "layout/texts.h"

namespace kvelmor {

// The window's layout, shared by the desktop window and the browser page: every control with its
// kind, container, caption, place, font, visibility and tab order. Plain C++, so that both front
// ends build from this one table.

// 1440 twips make an inch, 15 of them a pixel at 96 dots per inch.
inline constexpr double kTwipsPerPixel = 15;

// Twips to whole (logical) pixels, rounded to the nearest.
constexpr int twipsToPixels(double twips)
{
    const double pixels = twips / kTwipsPerPixel;
    return static_cast<int>(pixels < 0 ? pixels - 0.5 : pixels + 0.5);
}

// The window: its client area in twips and its back colour (0x00BBGGRR); its caption is the text
// TextKey::WindowTitle.
inline constexpr int kClientWidthTwips = 11475;
inline constexpr int kClientHeightTwips = 8400;
inline constexpr unsigned kBackColour = 0x00C0C0C0;

enum class ControlKind { Label, Button, ScrollBar, Frame, Option, SettingsBox };

// The fonts of the layout; Default is the window's own font, used by controls without one.
enum class ControlFont { ArialBold, Arial, TimesBold19, TimesBold21, Default };

struct FontFace {
    std::string_view family;  // "Arial" or "Times New Roman"
    int pixelSize;            // at 96 dots per inch: 9.75 pt is 13 px, 14.25 pt 19, 15.75 pt 21
    bool bold;
};

FontFace fontFace(ControlFont font);

struct ControlRow {
    std::string_view name;
    ControlKind kind;
    std::string_view container;  // empty: the window itself
    TextKey caption;
    int left, top, width, height;  // twips, relative to the container
    ControlFont font;
    bool shown;
    int tabIndex;
    // What a screen reader says: the name (None: the caption) and, where the caption alone does
    // not tell what the control does, a description.
    TextKey accessibleName;
    TextKey accessibleDescription;
};

// Every control, containers before what they contain, and within a frame from top to bottom.
std::span<const ControlRow> controlRows();

// The row of the control called `name`, or nullptr.
const ControlRow* findControl(std::string_view name);

// The accessible name of a row: its own, else its caption.
TextKey accessibleName(const ControlRow& row);

// The scroll bar's range and steps, as a desktop scroll bar has them by default.
inline constexpr int kScrollMinimum = 0;
inline constexpr int kScrollMaximum = 32767;
inline constexpr int kScrollSmallStep = 1;
inline constexpr int kScrollLargeStep = 1;

}  // namespace kvelmor
