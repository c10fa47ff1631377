#pragma once

#include <QPalette>
#include <cstdint>
#include <optional>
#include <string>

#include "canvas/surface.h"

namespace kvelmor {

// Draws as SVG elements, in logical pixels, and keeps the text small. The lines that follow one
// another in the same pen (colour and width) go into one group; each line of lines among them,
// every line starting where the one before ended, becomes one `path`. Coordinates are rounded to
// a hundredth of a pixel, the path's start written whole and each later point as its step from
// the one before, in hundredths, without the steps that rounding leaves at zero. A chain of 2003
// arrows so becomes one path of about 16 KB instead of 2003 `line` elements of 100 bytes each.
// Lines are not joined across a change of pen, nor lines that do not meet: where such lines
// overlap, each is still drawn over the other, as on the window.
//
// Lines have square caps and bevelled joins, circles an outline and, with a solid fill style, a
// fill: as on the window, where the fore colour is the palette's button text. The elements
// expect a parent that sets fill="none", stroke="black", stroke-width="1",
// stroke-linecap="square" and stroke-linejoin="bevel", as QSvgGenerator's outermost group does.
class CompactSvgSurface final : public StatefulSurface {
public:
    explicit CompactSvgSurface(QPalette palette);

    void line(float x1, float y1, float x2, float y2) override;
    void line(float x1, float y1, float x2, float y2, Colour colour) override;
    void circle(float x, float y, float radius) override;
    void flush() override {}

    // The elements drawn so far, in the order they were drawn.
    const std::string& elements();

private:
    // A position in hundredths of a pixel.
    struct Point {
        std::int64_t x;
        std::int64_t y;
        bool operator==(const Point&) const = default;
    };
    struct Pen {
        std::uint32_t rgb;
        int width;
        bool operator==(const Pen&) const = default;
    };

    Point toHundredths(float x, float y) const;
    std::string colourName(Colour colour) const;
    void closePath();
    void closeGroup();

    QPalette palette_;
    std::string text_;
    std::optional<Pen> groupPen_;  // the pen of the group being written, if one is
    bool pathOpen_ = false;        // whether a path is being written in it
    Point pathEnd_{0, 0};          // where the path's last line ended
    Point cursor_{0, 0};           // the point written last, rounding included
};

}  // namespace kvelmor
