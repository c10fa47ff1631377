#include "canvas/imagesurface.h"

#include <cmath>

#include "canvas/colours.h"
#include "canvas/pixelrule.h"

namespace kvelmor {

ImageSurface::ImageSurface(QSize logicalSize, qreal devicePixelRatio, QPalette palette,
                           std::function<void(const QRect&)> flushed)
    : image_(QSize(std::ceil(logicalSize.width() * devicePixelRatio),
                   std::ceil(logicalSize.height() * devicePixelRatio)),
             QImage::Format_ARGB32_Premultiplied),
      ratio_(devicePixelRatio),
      palette_(std::move(palette)),
      flushed_(std::move(flushed))
{
    image_.fill(Qt::transparent);
}

ImageSurface::~ImageSurface() = default;

QColor ImageSurface::colourOf(Colour colour) const
{
    return resolveColour(colour, palette_);
}

int ImageSurface::penWidth() const
{
    return pixelrule::penWidth(state_.lineWidth, ratio_);
}

// Coordinates of the current unit in device pixels, by the pixel rule the page's canvas shares.
QPointF ImageSurface::toDevice(float x, float y) const
{
    const pixelrule::DevicePoint p = pixelrule::toDevice(x, y, state_, ratio_);
    return {p.x, p.y};
}

// The footprint of a pen of `width` device pixels placed on one point: a width x width square.
QRectF ImageSurface::square(QPointF centre, int width)
{
    const double half = width / 2.0;
    return QRectF(centre - QPointF(half, half), QSizeF(width, width));
}

QPainter& ImageSurface::painter()
{
    if (!painter_) {
        painter_.emplace(&image_);
        painter_->setRenderHint(QPainter::Antialiasing, false);
    }
    return *painter_;
}

void ImageSurface::finishPainting()
{
    if (painter_) painter_.reset();
}

void ImageSurface::markDirty(const QRectF& deviceRect, int penWidth)
{
    const int margin = penWidth + 1;
    dirty_ |= deviceRect.normalized().toAlignedRect().adjusted(-margin, -margin, margin, margin);
}

void ImageSurface::line(float x1, float y1, float x2, float y2)
{
    stroke(x1, y1, x2, y2, colourOf(systemColour(kButtonTextColour)));
}

void ImageSurface::line(float x1, float y1, float x2, float y2, Colour colour)
{
    stroke(x1, y1, x2, y2, colourOf(colour));
}

void ImageSurface::stroke(float x1, float y1, float x2, float y2, const QColor& colour)
{
    const int width = penWidth();
    const QPointF a = toDevice(x1, y1);
    const QPointF b = toDevice(x2, y2);
    QPainter& p = painter();
    if (a == b) {
        p.fillRect(square(a, width), colour);  // the toolkit draws nothing for a zero-length line
    } else {
        p.setPen(QPen(colour, width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        p.drawLine(a, b);
    }
    markDirty(QRectF(a, b), width);
}

void ImageSurface::circle(float x, float y, float radius)
{
    const int width = penWidth();
    const QPointF centre = toDevice(x, y);
    const double r = pixelrule::deviceRadius(radius, state_, ratio_);
    QPainter& p = painter();
    const QColor outline = colourOf(systemColour(kButtonTextColour));
    if (pixelrule::isDot(r)) {
        p.fillRect(square(centre, width), outline);  // too small to outline: a dot the pen's width
    } else {
        p.setPen(QPen(outline, width));
        p.setBrush(state_.fillStyle == FillStyle::Solid ? QBrush(colourOf(state_.fillColour))
                                                        : QBrush(Qt::NoBrush));
        p.drawEllipse(centre, r, r);
    }
    markDirty(QRectF(centre - QPointF(r, r), centre + QPointF(r, r)), width);
}

void ImageSurface::flush()
{
    finishPainting();
    if (dirty_.isEmpty()) return;
    const QRect device = dirty_ & image_.rect();
    dirty_ = QRect();
    const QRect logical(
        QPoint(std::floor(device.left() / ratio_), std::floor(device.top() / ratio_)),
        QPoint(std::ceil((device.right() + 1) / ratio_),
               std::ceil((device.bottom() + 1) / ratio_)));
    if (flushed_ && !logical.isEmpty()) flushed_(logical);
}

void ImageSurface::paintOnto(QPainter& target, const QRect& logicalRect)
{
    finishPainting();
    const QRectF source(logicalRect.x() * ratio_, logicalRect.y() * ratio_,
                        logicalRect.width() * ratio_, logicalRect.height() * ratio_);
    target.drawImage(QRectF(logicalRect), image_, source);
}

const QImage& ImageSurface::image()
{
    finishPainting();
    return image_;
}

}  // namespace kvelmor
