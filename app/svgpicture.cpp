#include "app/svgpicture.h"

#include <QBuffer>
#include <QPainter>
#include <QSvgRenderer>

namespace kvelmor {

QImage svgPicture(const std::string& svg, QSize size, int scale)
{
    QSvgRenderer renderer(QByteArray::fromStdString(svg));
    if (!renderer.isValid()) return {};
    QImage image(size * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    renderer.render(&painter, QRectF(QPointF(0, 0), size));
    return image;
}

QByteArray pngBytes(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) return {};
    return bytes;
}

}  // namespace kvelmor
