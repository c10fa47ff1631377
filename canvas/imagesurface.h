#pragma once

#include <QImage>
#include <QPainter>
#include <QPalette>
#include <QRect>
#include <functional>

#include "canvas/pixelpicture.h"

namespace kvelmor {

// The window's drawing surface: the run's picture (PixelPicture) at the screen's device-pixel
// ratio, in the desktop palette's colours, which the toolkit sees as an image wrapping the
// picture's own pixels, not a copy of them. The window copies it beneath its controls whenever it
// paints, so the picture survives the window being covered, minimised or resized, though a run
// never redraws.
class ImageSurface final : public PixelPicture {
public:
    // `logicalSize` in logical pixels; `flushed` receives the logical rectangle drawn since the
    // previous flush and must make it visible before returning.
    ImageSurface(QSize logicalSize, qreal devicePixelRatio, const QPalette& palette,
                 std::function<void(const QRect&)> flushed);

    // Copies the part of the picture under `logicalRect` onto `painter` (a window's painter).
    void paintOnto(QPainter& painter, const QRect& logicalRect) const;

    // The picture itself, in device pixels; transparent where nothing has been drawn.
    const QImage& image() const { return image_; }

private:
    QImage image_;
};

}  // namespace kvelmor
