#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <QRect>
#include <functional>
#include <optional>

#include "canvas/surface.h"

namespace kvelmor {

// The window's drawing surface: everything is drawn into an off-screen image at the screen's
// device-pixel ratio, which the window copies beneath its controls whenever it paints. The picture
// therefore survives the window being covered, minimised or resized, though a run never redraws.
//
// Pixel rule: every end point and circle centre is rounded to the nearest device pixel (a logical
// pixel is devicePixelRatio of them); a line w logical pixels wide is stroked with square caps
// around the middle of that logical pixel when w is odd and around its top-left corner when w is
// even. So a 1-pixel line covers exactly the pixels from its first to its last end point, and a
// 2-pixel horizontal line from column a to column b on row r covers columns a-1..b of rows r-1
// and r; at a ratio of 2 every logical pixel of that becomes 2 x 2 device pixels.
// A line whose ends fall on one pixel, and a circle less than a pixel across, leave the pen's
// square footprint: the 1-twip circles on the probability axis become dots of 2 x 2 pixels.
class ImageSurface final : public StatefulSurface {
public:
    // `logicalSize` in logical pixels; `flushed` receives the logical rectangle drawn since the
    // previous flush and must make it visible before returning.
    ImageSurface(QSize logicalSize, qreal devicePixelRatio, QPalette palette,
                 std::function<void(const QRect&)> flushed);
    ~ImageSurface() override;

    void line(float x1, float y1, float x2, float y2) override;
    void line(float x1, float y1, float x2, float y2, Colour colour) override;
    void circle(float x, float y, float radius) override;
    void flush() override;

    // Copies the part of the picture under `logicalRect` onto `painter` (a window's painter).
    void paintOnto(QPainter& painter, const QRect& logicalRect);

    // The picture itself, in device pixels; transparent where nothing has been drawn.
    const QImage& image();
    qreal devicePixelRatio() const { return ratio_; }
    QColor colourOf(Colour colour) const;

private:
    QPointF toDevice(float x, float y) const;
    int penWidth() const;
    static QRectF square(QPointF centre, int width);
    QPainter& painter();
    void finishPainting();
    void stroke(float x1, float y1, float x2, float y2, const QColor& colour);
    void markDirty(const QRectF& deviceRect, int penWidth);

    QImage image_;
    qreal ratio_;
    QPalette palette_;
    std::function<void(const QRect&)> flushed_;
    std::optional<QPainter> painter_;
    QRect dirty_;  // device pixels
};

}  // namespace kvelmor
