#include "app/chainimage.h"

#include <QFontMetricsF>
#include <QPainter>

#include "app/controls.h"
#include "explore/chainfiles.h"

namespace kvelmor {

void paintPictureTexts(QPainter& painter, const std::vector<PictureText>& texts)
{
    for (const PictureText& t : texts) {
        const QRectF box(t.box.left, t.box.top, t.box.width, t.box.height);
        const QString text = QString::fromStdString(t.text);
        const QFont font = makeFont(QStringLiteral("Arial"), int(t.pixelSize), t.bold);
        const double width = QFontMetricsF(font).horizontalAdvance(text);
        painter.save();
        painter.setClipRect(box);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QPointF(t.centred ? box.left() + (box.width() - width) / 2 : box.left(),
                                 box.top() + t.baseline),
                         text);
        painter.restore();
    }
}

QImage chainImage(Explorer& explorer, Language language, int scale)
{
    try {
        const ChainPixels pixels = chainPixels(explorer, language, scale);
        QImage image = QImage(pixels.rgba.data(), pixels.width, pixels.height, pixels.width * 4,
                              QImage::Format_RGBA8888)
                           .convertToFormat(QImage::Format_RGB32);
        if (image.isNull()) return {};
        image.setDevicePixelRatio(scale);
        QPainter painter(&image);
        paintPictureTexts(painter, pixels.texts);
        return image;
    } catch (const std::bad_alloc&) {
        return {};
    }
}

}  // namespace kvelmor
