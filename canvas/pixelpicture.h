#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "canvas/pixelrule.h"
#include "canvas/surface.h"

namespace kvelmor {

// Pixels are words 0xAABBGGRR, which little-endian memory holds as the bytes R, G, B, A.
inline constexpr std::uint32_t kBlackPixel = 0xFF000000u;
inline constexpr std::uint32_t kWhitePixel = 0xFFFFFFFFu;

// The desktop's system colours a run draws with, as pixels: the button text is the fore colour;
// the title-bar text is always white, the classic desktop's value, which no toolkit gives; any
// other system colour is the window text.
struct SystemPixels {
    std::uint32_t buttonText = kBlackPixel;
    std::uint32_t windowText = kBlackPixel;
};

// A run's picture, drawn pixel by pixel into a plain RGBA buffer at any device-pixel ratio by the
// pixel rule (canvas/pixelrule.h), with no anti-aliasing: lines of any width, circles, fills and
// the background. It is the one code that turns a run's drawing into pixels: the desktop window
// shows it through an image that wraps its buffer (ImageSurface), kvelmor-export encodes it as
// its PNG, and the browser page copies it onto its canvas and saves it. flush() hands the
// rectangle drawn since the last flush to whoever shows the picture.
class PixelPicture : public StatefulSurface {
public:
    struct Rect {
        int x = 0, y = 0, width = 0, height = 0;  // device pixels
        bool empty() const { return width <= 0 || height <= 0; }
    };

    // `logicalWidth` x `logicalHeight` logical pixels, transparent until drawn on.
    PixelPicture(int logicalWidth, int logicalHeight, double ratio,
                 std::function<void(const Rect&)> flushed = {}, SystemPixels system = {});

    void line(float x1, float y1, float x2, float y2) override;
    void line(float x1, float y1, float x2, float y2, Colour colour) override;
    void circle(float x, float y, float radius) override;
    void flush() override;

    int width() const { return width_; }    // device pixels
    int height() const { return height_; }  // device pixels
    double ratio() const { return ratio_; }

    // Pixels row by row as bytes R, G, B, A, no gap between rows: the layout of a canvas's
    // ImageData and of the toolkit's RGBA8888 images. Transparent (0) where nothing was drawn,
    // opaque elsewhere. The buffer stays where it is for the picture's life.
    const std::uint8_t* rgba() const
    {
        return reinterpret_cast<const std::uint8_t*>(pixels_.data());
    }

    // One pixel as 0xAABBGGRR; 0 where nothing has been drawn.
    std::uint32_t pixel(int x, int y) const { return pixels_[std::size_t(y) * width_ + x]; }

    // The opaque pixel `colour` is drawn in.
    std::uint32_t pixelOf(Colour colour) const;

    // The top left `width` x `height` device pixels (no more than the picture has) as RGBA bytes,
    // opaque: `background` where nothing was drawn.
    std::vector<std::uint8_t> over(Colour background, int width, int height) const;

private:
    void stroke(float x1, float y1, float x2, float y2, std::uint32_t value);
    void walk(pixelrule::GridPoint start, std::int64_t gx, std::int64_t gy, std::int64_t first,
              std::int64_t last, double pen, std::uint32_t value);
    bool walkInside(pixelrule::PixelRange xs, pixelrule::PixelRange ys, int sx, int sy,
                    std::int64_t tx, std::int64_t ty, std::int64_t rx, std::int64_t ry,
                    std::int64_t whole, std::int64_t steps, std::uint32_t value);
    void stamp(double x, double y, double pen, std::uint32_t value);
    void fill(int x0, int y0, int x1, int y1, std::uint32_t value);   // inclusive, clipped
    bool paint(int x0, int y0, int x1, int y1, std::uint32_t value);  // the same, not flushed
    void markDirty(int x0, int y0, int x1, int y1);                   // to show at the next flush

    int width_;
    int height_;
    double ratio_;
    SystemPixels system_;
    std::vector<std::uint32_t> pixels_;
    std::function<void(const Rect&)> flushed_;
    int dirtyLeft_, dirtyTop_, dirtyRight_, dirtyBottom_;  // inclusive; left > right: clean
};

}  // namespace kvelmor
