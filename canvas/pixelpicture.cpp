#include "canvas/pixelpicture.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

#include "canvas/pixelrule.h"

namespace kvelmor {

static_assert(std::endian::native == std::endian::little,
              "pixels are stored as 0xAABBGGRR words to read as R, G, B, A bytes");

namespace {
constexpr int kClean = std::numeric_limits<int>::max();
// Lines of fewer grid steps than this are walked in whole numbers (PixelPicture::walk).
constexpr double kCountedSteps = 1 << 26;
}  // namespace

PixelPicture::PixelPicture(int logicalWidth, int logicalHeight, double ratio,
                           std::function<void(const Rect&)> flushed, SystemPixels system)
    : width_(static_cast<int>(std::ceil(logicalWidth * ratio))),
      height_(static_cast<int>(std::ceil(logicalHeight * ratio))),
      ratio_(ratio),
      system_(system),
      pixels_(std::size_t(width_) * height_, 0u),
      flushed_(std::move(flushed)),
      dirtyLeft_(kClean),
      dirtyTop_(kClean),
      dirtyRight_(-1),
      dirtyBottom_(-1)
{
}

std::uint32_t PixelPicture::pixelOf(Colour colour) const
{
    if (isSystemColour(colour)) {
        switch (colour - kSystemColourFlag) {
        case kButtonTextColour:
            return system_.buttonText;
        case kTitleBarTextColour:
            return kWhitePixel;
        default:
            return system_.windowText;
        }
    }
    return kBlackPixel | (colour & 0x00FFFFFFu);
}

std::vector<std::uint8_t> PixelPicture::over(Colour background, int width, int height) const
{
    width = std::clamp(width, 0, width_);
    height = std::clamp(height, 0, height_);
    if (width == 0 || height == 0) return {};
    const std::uint32_t ground = pixelOf(background);
    std::vector<std::uint32_t> words(std::size_t(width) * height);
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* from = &pixels_[std::size_t(y) * width_];
        std::uint32_t* to = &words[std::size_t(y) * width];
        for (int x = 0; x < width; ++x) to[x] = from[x] ? from[x] : ground;
    }
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(words.data());
    return {bytes, bytes + words.size() * 4};
}

void PixelPicture::fill(int x0, int y0, int x1, int y1, std::uint32_t value)
{
    if (paint(x0, y0, x1, y1, value)) markDirty(x0, y0, x1, y1);
}

bool PixelPicture::paint(int x0, int y0, int x1, int y1, std::uint32_t value)
{
    x0 = std::max(x0, 0);
    y0 = std::max(y0, 0);
    x1 = std::min(x1, width_ - 1);
    y1 = std::min(y1, height_ - 1);
    if (x0 > x1 || y0 > y1) return false;
    std::uint32_t* row = pixels_.data() + std::ptrdiff_t(y0) * width_;
    for (int y = y0; y <= y1; ++y, row += width_) std::fill(row + x0, row + x1 + 1, value);
    return true;
}

void PixelPicture::markDirty(int x0, int y0, int x1, int y1)
{
    dirtyLeft_ = std::min(dirtyLeft_, std::max(x0, 0));
    dirtyTop_ = std::min(dirtyTop_, std::max(y0, 0));
    dirtyRight_ = std::max(dirtyRight_, std::min(x1, width_ - 1));
    dirtyBottom_ = std::max(dirtyBottom_, std::min(y1, height_ - 1));
}

// The pen's square footprint at one point.
void PixelPicture::stamp(double x, double y, double pen, std::uint32_t value)
{
    const pixelrule::PixelRange xs = pixelrule::penRange(x, pen);
    const pixelrule::PixelRange ys = pixelrule::penRange(y, pen);
    fill(xs.first, ys.first, xs.last, ys.last, value);
}

void PixelPicture::line(float x1, float y1, float x2, float y2)
{
    stroke(x1, y1, x2, y2, pixelOf(systemColour(kButtonTextColour)));
}

void PixelPicture::line(float x1, float y1, float x2, float y2, Colour colour)
{
    stroke(x1, y1, x2, y2, pixelOf(colour));
}

// The pen moved from one end point to the other in steps of at most one point of the pixel rule's
// grid (a device pixel at a whole ratio) along the longer axis, leaving its square at every step:
// square caps at both ends, and a horizontal or vertical line exactly the rectangle between the
// pen's squares at its ends. Walked on the grid, lines that touch there still touch in device
// pixels: the beam's fan stays a solid band at any ratio. Only the part of the line that can
// touch the picture is walked, so no coordinate, however far out, costs more than the picture's
// size; a line with a coordinate that is not a number draws nothing.
void PixelPicture::stroke(float x1, float y1, float x2, float y2, std::uint32_t value)
{
    const double pen = pixelrule::penExtent(state_.lineWidth, ratio_);
    const pixelrule::GridPoint ga = pixelrule::toGrid(x1, y1, state_, ratio_);
    const pixelrule::GridPoint gb = pixelrule::toGrid(x2, y2, state_, ratio_);
    const pixelrule::DevicePoint a = pixelrule::toDevice(ga, state_, ratio_);
    const pixelrule::DevicePoint b = pixelrule::toDevice(gb, state_, ratio_);
    if (!std::isfinite(a.x) || !std::isfinite(a.y) || !std::isfinite(b.x) || !std::isfinite(b.y))
        return;

    const double margin = pen + 1;
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    if (ga.x == gb.x || ga.y == gb.y) {  // the rectangle between the pens at its ends, cut
        const auto cut = [margin](double v, int size) {
            return std::clamp(v, -margin, size + margin);
        };
        const pixelrule::PixelRange xs = pixelrule::penRange(cut(std::min(a.x, b.x), width_), pen);
        const pixelrule::PixelRange ys = pixelrule::penRange(cut(std::min(a.y, b.y), height_), pen);
        const pixelrule::PixelRange xe = pixelrule::penRange(cut(std::max(a.x, b.x), width_), pen);
        const pixelrule::PixelRange ye = pixelrule::penRange(cut(std::max(a.y, b.y), height_), pen);
        fill(xs.first, ys.first, xe.last, ye.last, value);
        return;
    }

    // The segment's parameters t in [t0, t1] where the pen can touch the picture (Liang-Barsky).
    double t0 = 0;
    double t1 = 1;
    const auto within = [&](double p, double q) {  // keeps the t with p t <= q
        if (p == 0) return q >= 0;
        const double t = q / p;
        if (p < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        return t0 <= t1;
    };
    if (!within(-dx, a.x + margin) || !within(dx, width_ + margin - a.x) ||
        !within(-dy, a.y + margin) || !within(dy, height_ + margin - a.y))
        return;

    const double gx = gb.x - ga.x;  // whole grid cells
    const double gy = gb.y - ga.y;
    const double steps = std::max(std::abs(gx), std::abs(gy));
    if (steps > 1e15) return;  // beyond counting in whole steps: absurdly far off, drawn not at all
    const double first = std::floor(t0 * steps);
    const double last = std::ceil(t1 * steps);
    if (steps < kCountedSteps) {
        walk(ga, std::int64_t(gx), std::int64_t(gy), std::int64_t(first), std::int64_t(last), pen,
             value);
        return;
    }
    int left = width_;
    int top = height_;
    int right = -1;
    int bottom = -1;
    for (double i = first; i <= last; ++i) {
        // Whole grid cells from the start, so that every stamp stands on the grid.
        const pixelrule::GridPoint g{ga.x + std::round(gx * i / steps),
                                     ga.y + std::round(gy * i / steps)};
        const pixelrule::DevicePoint p = pixelrule::toDevice(g, state_, ratio_);
        const pixelrule::PixelRange xs = pixelrule::penRange(p.x, pen);
        const pixelrule::PixelRange ys = pixelrule::penRange(p.y, pen);
        if (!paint(xs.first, ys.first, xs.last, ys.last, value)) continue;
        left = std::min(left, xs.first);
        top = std::min(top, ys.first);
        right = std::max(right, xs.last);
        bottom = std::max(bottom, ys.last);
    }
    if (right >= 0) markDirty(left, top, right, bottom);
}

// The same steps as the loop above takes, i from `first` to `last` of `n` = max(|gx|, |gy|), but
// counted in whole numbers: the longer axis moves one grid cell a step, the shorter one by
// round(g i / n) (half away from zero, as std::round), kept as a quotient and a remainder that
// each step adds to. Below kCountedSteps steps the quotient of doubles rounds exactly so: a
// quotient that is not a half lies at least 1 / (2n) from one, far more than the division's error
// of at most n / 2^53. At a whole ratio a grid cell is a device pixel and the pen's pixels move
// with its cell, whole pixel for whole cell (the pixel rule's arithmetic is exact there, in halves
// of a pixel); at any other ratio they are worked out again wherever the cell changes.
void PixelPicture::walk(pixelrule::GridPoint start, std::int64_t gx, std::int64_t gy,
                        std::int64_t first, std::int64_t last, double pen, std::uint32_t value)
{
    const std::int64_t n = std::max(std::abs(gx), std::abs(gy));
    const auto range = [&](double cell) {
        return pixelrule::penRange(pixelrule::toDevice({cell, cell}, state_, ratio_).x, pen);
    };
    const bool shifts = pixelrule::gridCell(ratio_) == 1;
    // One axis: where its pen stands at step i, counted on from step `first`.
    struct Axis {
        std::int64_t twice;  // 2 |g|, what a step adds to the numerator
        std::int64_t q;      // round(|g| i / n)
        std::int64_t rest;   // (2 |g| i + n) mod 2 n
        int sign;
        double cell;                 // the grid cell of the pen's centre
        pixelrule::PixelRange span;  // the device pixels the pen covers
    };
    const auto axis = [&](std::int64_t g, double from) {
        const std::int64_t numerator = 2 * std::abs(g) * first + n;
        Axis a{2 * std::abs(g), numerator / (2 * n), numerator % (2 * n), g < 0 ? -1 : 1, 0, {}};
        a.cell = from + a.sign * double(a.q);
        a.span = range(a.cell);
        return a;
    };
    // The next step along one axis.
    const auto advance = [&](Axis& a) {
        a.rest += a.twice;
        if (a.rest < 2 * n) return;
        a.rest -= 2 * n;
        ++a.q;
        a.cell += a.sign;
        if (shifts) {
            a.span.first += a.sign;
            a.span.last += a.sign;
        } else {
            a.span = range(a.cell);
        }
    };
    Axis ax = axis(gx, start.x), ay = axis(gy, start.y);
    if (shifts && walkInside(ax.span, ay.span, ax.sign, ay.sign, ax.twice, ay.twice, ax.rest,
                             ay.rest, 2 * n, last - first, value)) {
        return;
    }
    int left = width_, top = height_, right = -1, bottom = -1;
    for (std::int64_t i = first;;) {
        const int x0 = std::max(ax.span.first, 0), x1 = std::min(ax.span.last, width_ - 1);
        const int y0 = std::max(ay.span.first, 0), y1 = std::min(ay.span.last, height_ - 1);
        if (x0 <= x1 && y0 <= y1) {
            std::uint32_t* row = pixels_.data() + std::ptrdiff_t(y0) * width_;
            for (int y = y0; y <= y1; ++y, row += width_) {
                for (int x = x0; x <= x1; ++x) row[x] = value;
            }
            left = std::min(left, ax.span.first);
            top = std::min(top, ay.span.first);
            right = std::max(right, ax.span.last);
            bottom = std::max(bottom, ay.span.last);
        }
        if (++i > last) break;
        advance(ax);
        advance(ay);
    }
    if (right >= 0) markDirty(left, top, right, bottom);
}

// The walk above at a whole ratio, for a line whose every square lies on the picture: its pen's
// square moves a whole pixel along an axis whenever its cell does, so each step adds only the
// square's leading column, or row, or both, to what the step before painted. `xs`, `ys` are the
// square at the first step, `rx`, `ry` the axes' remainders there; each step adds `tx`, `ty` to
// them and moves the square on where they reach `whole`. False, painting nothing, when a square
// would leave the picture: the caller then walks and clips step by step.
bool PixelPicture::walkInside(pixelrule::PixelRange xs, pixelrule::PixelRange ys, int sx, int sy,
                              std::int64_t tx, std::int64_t ty, std::int64_t rx, std::int64_t ry,
                              std::int64_t whole, std::int64_t steps, std::uint32_t value)
{
    // How far the square moves along an axis in all: the wraps of its remainder.
    const auto moved = [&](std::int64_t twice, std::int64_t rest) {
        return int((rest + twice * steps) / whole);
    };
    const int mx = sx * moved(tx, rx), my = sy * moved(ty, ry);
    const int left = std::min(xs.first, xs.first + mx), right = std::max(xs.last, xs.last + mx);
    const int top = std::min(ys.first, ys.first + my), bottom = std::max(ys.last, ys.last + my);
    if (left < 0 || top < 0 || right >= width_ || bottom >= height_) return false;

    const int w = xs.last - xs.first;  // the square's size less one, in device pixels
    const int h = ys.last - ys.first;
    std::uint32_t* square = pixels_.data() + std::ptrdiff_t(ys.first) * width_ + xs.first;
    for (int y = 0; y <= h; ++y) std::fill(square + y * width_, square + y * width_ + w + 1, value);
    const std::ptrdiff_t column = sx > 0 ? w : 0;  // the leading column and row
    const std::ptrdiff_t row = (sy > 0 ? h : 0) * std::ptrdiff_t(width_);
    const std::ptrdiff_t down = sy * std::ptrdiff_t(width_);
    for (std::int64_t i = 0; i < steps; ++i) {
        rx += tx;
        ry += ty;
        const bool acrossX = rx >= whole, acrossY = ry >= whole;
        if (acrossX) {
            rx -= whole;
            square += sx;
        }
        if (acrossY) {
            ry -= whole;
            square += down;
            std::fill(square + row, square + row + w + 1, value);
        }
        if (acrossX) {
            for (int y = 0; y <= h; ++y) square[column + y * std::ptrdiff_t(width_)] = value;
        }
    }
    markDirty(left, top, right, bottom);
    return true;
}

// A full circle: the pen's ring around the rounded centre, filled inside when the fill is solid.
// Each pixel takes what the middle of its cell of the pixel rule's grid falls on, so that the
// circle, like every line, is the grid's picture mapped to device pixels. Less than a device
// pixel across, it is the pen's square alone.
void PixelPicture::circle(float x, float y, float radius)
{
    const double pen = pixelrule::penExtent(state_.lineWidth, ratio_);
    const pixelrule::DevicePoint c = pixelrule::toDevice(x, y, state_, ratio_);
    const double r = pixelrule::deviceRadius(radius, state_, ratio_);
    const std::uint32_t outline = pixelOf(systemColour(kButtonTextColour));
    if (!std::isfinite(c.x) || !std::isfinite(c.y) || !std::isfinite(r)) return;
    if (std::abs(c.x) > 4.0 * width_ + r || std::abs(c.y) > 4.0 * height_ + r) return;  // far off
    if (pixelrule::isDot(r)) {
        stamp(c.x, c.y, pen, outline);
        return;
    }
    const bool filled = state_.fillStyle == FillStyle::Solid;
    const std::uint32_t inside = pixelOf(state_.fillColour);
    // The outline, never so thin that the cells its pixels show leave gaps between them.
    const double ring = std::max(pen, pixelrule::cellStep(ratio_)) / 2;
    const double reach = r + ring;
    // Only the pixels of the picture; a circle far off it draws nothing.
    const auto clamped = [](double v, int last) {
        return static_cast<int>(std::clamp(v, -1.0, last + 1.0));
    };
    const int x0 = std::max(clamped(std::floor(c.x - reach), width_), 0);
    const int x1 = std::min(clamped(std::ceil(c.x + reach), width_), width_ - 1);
    const int y0 = std::max(clamped(std::floor(c.y - reach), height_), 0);
    const int y1 = std::min(clamped(std::ceil(c.y + reach), height_), height_ - 1);
    const double cell = pixelrule::gridCell(ratio_);
    const auto middle = [&](int p) { return (pixelrule::cellOf(p, ratio_) + 0.5) * cell; };
    if (x0 > x1 || y0 > y1) return;
    for (int py = y0; py <= y1; ++py) {
        std::uint32_t* row = pixels_.data() + std::ptrdiff_t(py) * width_;
        for (int px = x0; px <= x1; ++px) {
            const double d = std::hypot(middle(px) - c.x, middle(py) - c.y);
            if (std::abs(d - r) <= ring) {
                row[px] = outline;
            } else if (filled && d < r) {
                row[px] = inside;
            }
        }
    }
    markDirty(x0, y0, x1, y1);
}

void PixelPicture::flush()
{
    if (dirtyLeft_ > dirtyRight_) return;
    const Rect dirty{dirtyLeft_, dirtyTop_, dirtyRight_ - dirtyLeft_ + 1,
                     dirtyBottom_ - dirtyTop_ + 1};
    dirtyLeft_ = dirtyTop_ = kClean;
    dirtyRight_ = dirtyBottom_ = -1;
    if (flushed_) flushed_(dirty);
}

}  // namespace kvelmor
