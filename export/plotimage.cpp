#include "export/plotimage.h"

#include <QPainter>
#include <QSvgRenderer>

#include "worksheet/plot.h"

namespace kvelmor {

QImage plotImage(const std::string& svg, int scale)
{
    QSvgRenderer renderer(QByteArray::fromStdString(svg));
    if (!renderer.isValid()) return {};
    const QSize size(kPlotWidth, kPlotHeight);
    QImage image(size * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    renderer.render(&painter, QRectF(QPointF(0, 0), size));
    return image;
}

}  // namespace kvelmor
