#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "canvas/surface.h"

namespace kvelmor {

// The browser page's picture: a run drawn pixel by pixel into an RGBA buffer at the screen's
// device-pixel ratio, by the desktop's pixel rule (canvas/pixelrule.h), with no anti-aliasing, so
// the page shows the same crisp lines and bars as the desktop window. flush() hands the rectangle
// drawn since the last flush to whoever shows the picture (the page copies it onto its canvas).
class PixelPicture final : public StatefulSurface {
public:
    struct Rect {
        int x = 0, y = 0, width = 0, height = 0;  // device pixels
        bool empty() const { return width <= 0 || height <= 0; }
    };

    // `logicalWidth` x `logicalHeight` logical pixels, transparent until drawn on.
    PixelPicture(int logicalWidth, int logicalHeight, double ratio,
                 std::function<void(const Rect&)> flushed = {});

    void line(float x1, float y1, float x2, float y2) override;
    void line(float x1, float y1, float x2, float y2, Colour colour) override;
    void circle(float x, float y, float radius) override;
    void flush() override;

    int width() const { return width_; }    // device pixels
    int height() const { return height_; }  // device pixels
    double ratio() const { return ratio_; }

    // Pixels row by row as bytes R, G, B, A: the layout of a canvas's ImageData.
    const std::uint8_t* rgba() const
    {
        return reinterpret_cast<const std::uint8_t*>(pixels_.data());
    }

    // One pixel as 0xAABBGGRR; 0 where nothing has been drawn.
    std::uint32_t pixel(int x, int y) const { return pixels_[std::size_t(y) * width_ + x]; }

    // The opaque pixel value of `colour`: 0x00BBGGRR as it stands; of the system colours the
    // title-bar text is white and everything else the button text, black.
    static std::uint32_t pixelOf(Colour colour);

private:
    void stroke(float x1, float y1, float x2, float y2, std::uint32_t value);
    void stamp(double x, double y, double pen, std::uint32_t value);
    void fill(int x0, int y0, int x1, int y1, std::uint32_t value);   // inclusive, clipped
    bool paint(int x0, int y0, int x1, int y1, std::uint32_t value);  // the same, not flushed
    void markDirty(int x0, int y0, int x1, int y1);                   // to show at the next flush

    int width_;
    int height_;
    double ratio_;
    std::vector<std::uint32_t> pixels_;
    std::function<void(const Rect&)> flushed_;
    int dirtyLeft_, dirtyTop_, dirtyRight_, dirtyBottom_;  // inclusive; left > right: clean
};

}  // namespace kvelmor
