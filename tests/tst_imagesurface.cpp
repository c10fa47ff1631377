// The window's picture as the toolkit sees it: an image over the one picture's own pixels, in the
// desktop palette's colours, copied onto the window's painter and flushed in logical pixels.
#include <QGuiApplication>
#include <QtTest>

#include "canvas/imagesurface.h"

using namespace kvelmor;

namespace {

QPalette classicPalette()
{
    QPalette palette;
    palette.setColor(QPalette::ButtonText, Qt::black);
    palette.setColor(QPalette::WindowText, Qt::black);
    return palette;
}

const QColor kGrey(0xC0, 0xC0, 0xC0);

}  // namespace

class TestImageSurface : public QObject {
    Q_OBJECT

private slots:
    void imageWrapsThePicturesPixels();
    void paletteGivesTheSystemColours();
    void paintCopiesTheLogicalRectangle();
    void flushReportsLogicalRectangles();
};

// No copy at any time: the image stands on the picture's buffer, and what is drawn after it was
// made is in it at once.
void TestImageSurface::imageWrapsThePicturesPixels()
{
    for (const auto& [ratio, size] : {std::pair{1.0, 300}, {2.0, 600}, {1.5, 450}}) {
        ImageSurface s({300, 300}, ratio, classicPalette(), {});
        const QImage& image = s.image();
        QCOMPARE(image.size(), QSize(size, size));
        QCOMPARE(image.constBits(), s.rgba());
        QCOMPARE(image.bytesPerLine(), qsizetype(s.width()) * 4);
        QCOMPARE(qAlpha(image.pixel(size / 2, size / 3)), 0);  // transparent until drawn on
        s.line(1500, 1500, 3000, 1500);
        s.setFillStyle(FillStyle::Solid);
        s.setFillColour(0x00FFFFC0);
        s.circle(2250, 3000, 300);
        QCOMPARE(image.pixelColor(int(150 * ratio), int(100 * ratio)), QColor(Qt::black));
        QCOMPARE(image.pixelColor(int(150 * ratio), int(200 * ratio)), QColor(0xC0, 0xFF, 0xFF));
        QCOMPARE(image.constBits(), s.rgba());
    }
}

void TestImageSurface::paletteGivesTheSystemColours()
{
    QPalette palette = classicPalette();
    palette.setColor(QPalette::ButtonText, QColor(1, 2, 3));
    palette.setColor(QPalette::WindowText, QColor(4, 5, 6));
    ImageSurface s({50, 50}, 1, palette, {});
    s.setScaleUnit(ScaleUnit::Pixels);
    s.line(5, 5, 5, 5);
    s.line(6, 6, 6, 6, systemColour(kTitleBarTextColour));
    s.line(7, 7, 7, 7, systemColour(5));
    s.line(8, 8, 8, 8, 0x000000FF);
    QCOMPARE(s.image().pixelColor(5, 5), QColor(1, 2, 3));  // the fore colour: button text
    QCOMPARE(s.image().pixelColor(6, 6), QColor(Qt::white));
    QCOMPARE(s.image().pixelColor(7, 7), QColor(4, 5, 6));
    QCOMPARE(s.image().pixelColor(8, 8), QColor(Qt::red));  // red in the low byte
}

// As the window paints at a ratio of 2: the device pixels under the logical rectangle, one to one,
// over what was there; nothing outside the rectangle.
void TestImageSurface::paintCopiesTheLogicalRectangle()
{
    ImageSurface s({300, 300}, 2, classicPalette(), {});
    s.setLineWidth(2);
    s.line(0, 1500, 4500, 1500);  // rows 198 to 201 across
    QImage screen(600, 600, QImage::Format_RGB32);
    screen.setDevicePixelRatio(2);
    screen.fill(kGrey);
    {
        QPainter painter(&screen);
        s.paintOnto(painter, QRect(50, 90, 100, 20));
    }
    for (int y = 170; y < 230; ++y) {
        for (int x : {99, 100, 200, 299, 300}) {
            const bool inside = x >= 100 && x < 300 && y >= 180 && y < 220;
            const bool drawn = y >= 198 && y <= 201;
            QCOMPARE(screen.pixelColor(x, y), inside && drawn ? QColor(Qt::black) : kGrey);
        }
    }
}

// The window repaints what the flushed rectangle names: every logical pixel that a drawn device
// pixel lies in, and not much more.
void TestImageSurface::flushReportsLogicalRectangles()
{
    for (double ratio : {1.0, 2.0, 1.5, 1.25}) {
        QList<QRect> flushed;
        ImageSurface s({300, 300}, ratio, classicPalette(), [&](const QRect& r) { flushed << r; });
        s.flush();
        QVERIFY(flushed.isEmpty());  // nothing new, nothing to show
        s.line(1515, 1515, 3000, 1515);
        s.line(1515, 1530, 2000, 2500);
        s.flush();
        s.flush();
        QCOMPARE(flushed.size(), 1);
        QRect drawn;  // device pixels
        for (int y = 0; y < s.height(); ++y)
            for (int x = 0; x < s.width(); ++x)
                if (s.pixel(x, y)) drawn |= QRect(x, y, 1, 1);
        const QRectF shown(QPointF(flushed[0].topLeft()) * ratio,
                           QSizeF(flushed[0].size()) * ratio);
        QVERIFY2(shown.contains(QRectF(drawn)), qPrintable(QString::number(ratio)));
        QVERIFY(flushed[0].width() <= 102 && flushed[0].height() <= 68);
    }
}

QTEST_MAIN(TestImageSurface)
#include "tst_imagesurface.moc"
