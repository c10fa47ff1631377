#include "canvas/imagesurface.h"

#include <cmath>

namespace kvelmor {

namespace {

std::uint32_t pixelOf(const QColor& colour)
{
    return kBlackPixel | std::uint32_t(colour.red()) |
           std::uint32_t(colour.green()) << 8 | std::uint32_t(colour.blue()) << 16;
}

SystemPixels systemPixels(const QPalette& palette)
{
    return {pixelOf(palette.color(QPalette::ButtonText)),
            pixelOf(palette.color(QPalette::WindowText))};
}

// The logical pixels that cover the device pixels of `r`.
QRect logicalRect(const PixelPicture::Rect& r, double ratio)
{
    return QRect(QPoint(std::floor(r.x / ratio), std::floor(r.y / ratio)),
                 QPoint(std::ceil((r.x + r.width) / ratio) - 1,
                        std::ceil((r.y + r.height) / ratio) - 1));
}

}  // namespace

ImageSurface::ImageSurface(QSize logicalSize, qreal devicePixelRatio, const QPalette& palette,
                           std::function<void(const QRect&)> flushed)
    : PixelPicture(
          logicalSize.width(), logicalSize.height(), devicePixelRatio,
          [this, flushed = std::move(flushed)](const Rect& r) {
              if (flushed) flushed(logicalRect(r, ratio()));
          },
          systemPixels(palette)),
      // Read only: the toolkit never draws into it, so it never detaches from the pixels.
      image_(rgba(), width(), height(), width() * 4, QImage::Format_RGBA8888_Premultiplied)
{
}

void ImageSurface::paintOnto(QPainter& target, const QRect& logicalRect) const
{
    const double r = ratio();
    const QRectF source(logicalRect.x() * r, logicalRect.y() * r, logicalRect.width() * r,
                        logicalRect.height() * r);
    target.drawImage(QRectF(logicalRect), image_, source);
}

}  // namespace kvelmor
