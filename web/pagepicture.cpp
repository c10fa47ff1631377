#include "web/pagepicture.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "layout/controls.h"

namespace kvelmor {

PagePicture::PagePicture(int logicalWidth, int logicalHeight, double ratio, Made made, Shown shown)
    : logicalWidth_(logicalWidth),
      logicalHeight_(logicalHeight),
      made_(std::move(made)),
      shown_(std::move(shown))
{
    make(ratio);
}

// The picture is ceil(w r) x ceil(h r) pixels, at most (w r + 1)(h r + 1): the largest r for which
// that is kMostPixels solves w h r^2 + (w + h) r + 1 - kMostPixels = 0.
double PagePicture::largestRatio() const
{
    const double w = logicalWidth_, h = logicalHeight_;
    const double r = (std::sqrt((w + h) * (w + h) + 4 * w * h * (kMostPixels - 1)) - (w + h)) /
                     (2 * w * h);
    return std::max(kSmallestRatio, r);
}

double PagePicture::usableRatio(double ratio) const
{
    return std::isfinite(ratio) ? std::clamp(ratio, kSmallestRatio, largestRatio()) : 1.0;
}

bool PagePicture::setRatio(double ratio)
{
    ratio = usableRatio(ratio);
    if (std::abs(ratio - picture_->ratio()) <= 1e-9 * ratio) return false;
    make(ratio);
    return true;
}

// Whether the browser gives the memory of a picture at `ratio` now: where it cannot (a phone
// short of memory), a failed allocation would end the program, which the page could only show as
// a damaged copy.
static bool memoryFor(int logicalWidth, int logicalHeight, double ratio)
{
    const double bytes = std::ceil(logicalWidth * ratio) * std::ceil(logicalHeight * ratio) * 4;
    // Kept in a volatile, or the compiler may drop the allocation and its release as unused.
    static void* volatile block;
    block = std::malloc(static_cast<std::size_t>(bytes));
    const bool had = block != nullptr;
    std::free(block);
    return had;
}

// The record drawn into a picture at the new size, which is then shown whole; at half the ratio,
// and half again, where memory is short for it.
void PagePicture::make(double ratio)
{
    ratio = usableRatio(ratio);
    while (ratio > kSmallestRatio && !memoryFor(logicalWidth_, logicalHeight_, ratio))
        ratio = std::max(kSmallestRatio, ratio / 2);
    auto picture = std::make_unique<PixelPicture>(logicalWidth_, logicalHeight_, ratio,
                                                  [this](const PixelPicture::Rect& r) {
                                                      if (shown_) shown_(*picture_, r);
                                                  });
    record_.drawOnto(*picture);
    picture_ = std::move(picture);
    if (made_) made_(*picture_);
    picture_->flush();
}

void PagePicture::setScaleUnit(ScaleUnit unit)
{
    record_.setScaleUnit(unit);
    picture_->setScaleUnit(unit);
}

void PagePicture::setLineWidth(int pixels)
{
    record_.setLineWidth(pixels);
    picture_->setLineWidth(pixels);
}

void PagePicture::setFillStyle(FillStyle style)
{
    record_.setFillStyle(style);
    picture_->setFillStyle(style);
}

void PagePicture::setFillColour(Colour colour)
{
    record_.setFillColour(colour);
    picture_->setFillColour(colour);
}

void PagePicture::line(float x1, float y1, float x2, float y2)
{
    record_.line(x1, y1, x2, y2);
    picture_->line(x1, y1, x2, y2);
}

void PagePicture::line(float x1, float y1, float x2, float y2, Colour colour)
{
    record_.line(x1, y1, x2, y2, colour);
    picture_->line(x1, y1, x2, y2, colour);
}

void PagePicture::circle(float x, float y, float radius)
{
    record_.circle(x, y, radius);
    picture_->circle(x, y, radius);
}

void PagePicture::flush()
{
    record_.flush();
    if (!heldBack_) picture_->flush();
}

std::vector<std::uint8_t> savedPicture(const RecordingSurface& record, int scale)
{
    PixelPicture picture(twipsToPixels(kClientWidthTwips), twipsToPixels(kClientHeightTwips),
                         scale);
    record.drawOnto(picture);
    return picture.over(kBackColour, picture.width(), picture.height());
}

}  // namespace kvelmor
