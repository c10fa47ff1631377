// The window's picture: where twips and pixels land, how wide lines are, which colours appear.
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

// The pixels of `image` that are not transparent, as a bounding rectangle and a count.
struct Ink {
    QRect bounds;
    int count = 0;
};

Ink inkOf(const QImage& image)
{
    Ink ink;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) != 0) {
                ink.bounds |= QRect(x, y, 1, 1);
                ++ink.count;
            }
        }
    }
    return ink;
}

}  // namespace

class TestImageSurface : public QObject {
    Q_OBJECT

private slots:
    void oneTwipsLineCoversItsEndPixels();
    void twoPixelLinesAddTheRowAboveOrTheColumnLeft();
    void roundsTwipsToTheNearestPixel();
    void resolvesColours();
    void drawsFilledCirclesAndDots();
    void doublesEverythingAtDevicePixelRatioTwo();
    void flushReportsWhatWasDrawn();
};

void TestImageSurface::oneTwipsLineCoversItsEndPixels()
{
    ImageSurface s({300, 300}, 1, classicPalette(), {});
    s.line(1500, 1500, 3000, 1500);  // pixels (100,100) to (200,100)
    const Ink ink = inkOf(s.image());
    QCOMPARE(ink.bounds, QRect(QPoint(100, 100), QPoint(200, 100)));
    QCOMPARE(ink.count, 101);

    ImageSurface d({300, 300}, 1, classicPalette(), {});
    d.line(150, 150, 1500, 1500);  // a diagonal from (10,10) to (100,100), one pixel a row
    const Ink diagonal = inkOf(d.image());
    QCOMPARE(diagonal.bounds, QRect(QPoint(10, 10), QPoint(100, 100)));
    QCOMPARE(diagonal.count, 91);
}

void TestImageSurface::twoPixelLinesAddTheRowAboveOrTheColumnLeft()
{
    ImageSurface s({300, 300}, 1, classicPalette(), {});
    s.setScaleUnit(ScaleUnit::Pixels);
    s.setLineWidth(2);
    s.line(10, 20, 30, 20);
    QCOMPARE(inkOf(s.image()).bounds, QRect(QPoint(9, 19), QPoint(30, 20)));
    QCOMPARE(inkOf(s.image()).count, 22 * 2);

    ImageSurface v({300, 300}, 1, classicPalette(), {});
    v.setLineWidth(2);
    v.line(1500, 1500, 1500, 3000);  // the detector line's shape: columns 99 and 100
    QCOMPARE(inkOf(v.image()).bounds, QRect(QPoint(99, 99), QPoint(100, 200)));
}

void TestImageSurface::roundsTwipsToTheNearestPixel()
{
    ImageSurface s({50, 50}, 1, classicPalette(), {});
    s.line(22, 22, 22, 22);    // 1.47 pixels -> pixel 1
    s.line(308, 23, 308, 23);  // 20.53, 1.53 -> (21, 2)
    const QImage& image = s.image();
    QVERIFY(qAlpha(image.pixel(1, 1)) != 0);
    QVERIFY(qAlpha(image.pixel(21, 2)) != 0);
    QCOMPARE(inkOf(image).count, 2);
}

void TestImageSurface::resolvesColours()
{
    QPalette palette = classicPalette();
    palette.setColor(QPalette::ButtonText, QColor(1, 2, 3));
    ImageSurface s({50, 50}, 1, palette, {});
    QCOMPARE(s.colourOf(0x00FFFFC0), QColor(0xC0, 0xFF, 0xFF));  // red in the low byte
    QCOMPARE(s.colourOf(0x0000FF00), QColor(0, 0xFF, 0));
    QCOMPARE(s.colourOf(0x80000009), QColor(Qt::white));
    QCOMPARE(s.colourOf(0x80000000 + 18), QColor(1, 2, 3));

    s.setScaleUnit(ScaleUnit::Pixels);
    s.line(5, 5, 5, 5);
    s.line(6, 6, 6, 6, 0x000000FF);
    QCOMPARE(s.image().pixelColor(5, 5), QColor(1, 2, 3));
    QCOMPARE(s.image().pixelColor(6, 6), QColor(Qt::red));
}

void TestImageSurface::drawsFilledCirclesAndDots()
{
    ImageSurface s({200, 200}, 1, classicPalette(), {});
    s.setLineWidth(2);
    s.setFillColour(0x80000009);
    s.setFillStyle(FillStyle::Solid);
    s.circle(1500, 1500, 100);  // the source's size: radius 6.7 pixels around (100, 100)
    const QImage& image = s.image();
    QCOMPARE(image.pixelColor(100, 100), QColor(Qt::white));
    QCOMPARE(image.pixelColor(100, 93), QColor(Qt::black));  // outline
    QCOMPARE(image.pixelColor(93, 100), QColor(Qt::black));
    QCOMPARE(qAlpha(image.pixel(100, 90)), 0);
    const QRect bounds = inkOf(image).bounds;
    QVERIFY(bounds.width() >= 13 && bounds.width() <= 16);

    ImageSurface dot({50, 50}, 1, classicPalette(), {});
    dot.setLineWidth(2);
    dot.circle(300, 300, 1);  // the dot on the probability axis: about two pixels
    const Ink ink = inkOf(dot.image());
    QCOMPARE(ink.bounds, QRect(19, 19, 2, 2));
    QCOMPARE(ink.count, 4);
}

void TestImageSurface::doublesEverythingAtDevicePixelRatioTwo()
{
    ImageSurface s({300, 300}, 2, classicPalette(), {});
    QCOMPARE(s.image().size(), QSize(600, 600));
    s.line(1500, 1500, 3000, 1500);
    QCOMPARE(inkOf(s.image()).bounds, QRect(QPoint(200, 200), QPoint(401, 201)));
    s.setLineWidth(2);
    s.line(1500, 3000, 1500, 4500);  // four device pixels wide, still on whole pixels
    const QImage& image = s.image();
    for (int x = 196; x <= 203; ++x) {
        const bool inside = x >= 198 && x <= 201;
        QCOMPARE(qAlpha(image.pixel(x, 500)) != 0, inside);
    }
}

void TestImageSurface::flushReportsWhatWasDrawn()
{
    QList<QRect> flushed;
    ImageSurface s({300, 300}, 1, classicPalette(), [&](const QRect& r) { flushed << r; });
    s.flush();
    QVERIFY(flushed.isEmpty());  // nothing new, nothing to show
    s.line(1500, 1500, 3000, 1500);
    s.line(1500, 2250, 1500, 2250);
    s.flush();
    QCOMPARE(flushed.size(), 1);
    QVERIFY(flushed[0].contains(QRect(QPoint(100, 100), QPoint(200, 150))));
    QVERIFY(flushed[0].width() < 110);
    s.flush();
    QCOMPARE(flushed.size(), 1);
}

QTEST_MAIN(TestImageSurface)
#include "tst_imagesurface.moc"
