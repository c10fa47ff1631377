#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "canvas/recordingsurface.h"
#include "canvas/pixelpicture.h"

namespace kvelmor {

// The page's drawing surface. What the run draws goes into a record of the run and into a
// PixelPicture at the page's current pixel size. When the page is fitted to a new size (a
// resize, a rotation, a browser zoom, another screen), setRatio() makes a new picture at the new
// size and draws the record into it by the same pixel rule, so nothing is ever stretched; a run
// under way goes on drawing into the new picture.
class PagePicture final : public Surface {
public:
    // A picture `logicalWidth` x `logicalHeight` logical pixels large, with `ratio` device pixels
    // to a logical pixel. `made` is told of every new picture before anything of it is shown,
    // `shown` of every rectangle of it to copy to the screen (at each flush).
    using Made = std::function<void(const PixelPicture&)>;
    using Shown = std::function<void(const PixelPicture&, const PixelPicture::Rect&)>;
    PagePicture(int logicalWidth, int logicalHeight, double ratio, Made made, Shown shown);

    // The device-pixel ratios a picture is made at: below the smallest the drawing would be lost;
    // it is drawn at the size shown up to kMostPixels (256 MB of RGBA, a 4K screen at a pixel
    // ratio of 2, or a tablet pinched to five times), beyond which the browser enlarges it.
    static constexpr double kSmallestRatio = 0.25;
    static constexpr double kMostPixels = 64e6;

    // The largest ratio whose picture has at most kMostPixels pixels.
    double largestRatio() const;

    // Makes the picture anew at `ratio` (kept within the limits above) and draws the record into
    // it, unless the picture already has that ratio. Returns whether it made a new one.
    bool setRatio(double ratio);

    // At the start of a run the record starts afresh: every run paints its grey background over
    // all that an earlier run drew, so the last run's record alone draws the picture again.
    void beginRun() { record_.clear(); }

    // While held back, flush() leaves what was drawn since the picture was last shown to be shown
    // by showHeldBack(): a run in the page draws many steps between two frames of the browser,
    // which paints only when the run hands it control, so one copy then shows them all. A
    // picture made anew (setRatio) is shown whole at once all the same.
    void holdBack(bool held) { heldBack_ = held; }
    void showHeldBack() { picture_->flush(); }

    const PixelPicture& picture() const { return *picture_; }

    // What the last run drew (the run under way, while one lasts).
    const RecordingSurface& record() const { return record_; }

    void setScaleUnit(ScaleUnit unit) override;
    void setLineWidth(int pixels) override;
    void setFillStyle(FillStyle style) override;
    void setFillColour(Colour colour) override;
    void line(float x1, float y1, float x2, float y2) override;
    void line(float x1, float y1, float x2, float y2, Colour colour) override;
    void circle(float x, float y, float radius) override;
    void flush() override;

private:
    double usableRatio(double ratio) const;
    void make(double ratio);

    int logicalWidth_;
    int logicalHeight_;
    Made made_;
    Shown shown_;
    RecordingSurface record_;
    std::unique_ptr<PixelPicture> picture_;
    bool heldBack_ = false;
};

// The picture the page saves of a run: its record drawn on the window's client area at `scale`
// device pixels to a pixel, opaque, the window's grey where the run drew nothing, as RGBA bytes.
// The browser draws the scene labels over it.
std::vector<std::uint8_t> savedPicture(const RecordingSurface& record, int scale);

}  // namespace kvelmor
