#pragma once

#include <cstdint>
#include <vector>

#include "canvas/surface.h"

namespace kvelmor {

// A finished run's picture as kvelmor-export writes it into kvelmor-F-D.png (the scene labels
// apart), made in the page from the run's record, pixel for pixel. The export draws with the
// desktop toolkit's raster engine, which rounds diagonal lines and circles its own way; the page's
// own picture (PixelPicture) keeps the window's pixel rule at every ratio instead, so the page
// saves through this one, which follows the toolkit's rules at the export's whole ratios:
//
// - every end point and circle centre lands where the pixel rule puts it (canvas/pixelrule.h);
// - a pen one device pixel wide walks the longer axis in 26.6 fixed point from half a pixel before
//   the first end point to half a pixel after the last, stepping the other coordinate in 16.16
//   fixed point and leaving one pixel per row or column;
// - a wider pen is the line lengthened by half the pen at each end and widened to the pen: a
//   quadrilateral whose corners are cut down to 1/64 pixel, each row filled between its left and
//   right edges as they cross the row's middle (a line within 1/64 pixel of level or plumb is a
//   rectangle: the pixels whose middles lie inside it);
// - a line whose ends meet, and a circle less than a pixel across, leave the pen's square;
// - a circle is the toolkit's circle of four curves: filled, then its outline (the curves moved
//   out by half the pen to either side, flattened) filled where the middles of pixels lie inside.
//   This is the toolkit's circle for pens two or more device pixels wide, the only ones a run
//   draws circles with at these ratios.
//
// Lines are cut at the edges of the drawing area as the toolkit cuts them at its picture's, which
// moves no pixel of a line inside it only when the area is the same: the export's 801 x 651.
class ExportPicture final : public StatefulSurface {
public:
    // A drawing area `logicalWidth` x `logicalHeight` logical pixels at `ratio` (1 or 2) device
    // pixels to one, transparent until drawn on.
    ExportPicture(int logicalWidth, int logicalHeight, int ratio);

    void line(float x1, float y1, float x2, float y2) override;
    void line(float x1, float y1, float x2, float y2, Colour colour) override;
    void circle(float x, float y, float radius) override;
    void flush() override {}

    int width() const { return width_; }    // device pixels
    int height() const { return height_; }  // device pixels
    int ratio() const { return ratio_; }

    // One pixel as 0xAABBGGRR; 0 where nothing has been drawn.
    std::uint32_t pixel(int x, int y) const { return pixels_[std::size_t(y) * width_ + x]; }

    // The top left `logicalWidth` x `logicalHeight` logical pixels as RGBA bytes, row by row, over
    // `background` (0x00BBGGRR) where nothing was drawn: the export's client area.
    std::vector<std::uint8_t> clientArea(int logicalWidth, int logicalHeight,
                                         std::uint32_t background) const;

private:
    void stroke(float x1, float y1, float x2, float y2, std::uint32_t value);

    int width_;
    int height_;
    int ratio_;
    std::vector<std::uint32_t> pixels_;
};

}  // namespace kvelmor
