// The browser page's picture against the desktop window's: the same drawing must land on the
// same pixels, at device-pixel ratios 1 and 2, from single primitives up to whole runs.
#include <QGuiApplication>
#include <QtTest>
#include <functional>

#ifndef Q_MOC_RUN  // moc cannot read the Czech identifiers of these headers, nor needs them
#include "canvas/imagesurface.h"
#include "fakehost.h"
#include "run/experiment.h"
#include "web/pixelpicture.h"
#endif

using namespace kvelmor;

namespace {

QPalette classicPalette()
{
    QPalette palette;
    palette.setColor(QPalette::ButtonText, Qt::black);
    palette.setColor(QPalette::WindowText, Qt::black);
    return palette;
}

// The desktop's pixel and the page's, both as opaque RGB or 0 where nothing was drawn.
QRgb desktopPixel(const QImage& image, int x, int y)
{
    const QRgb p = image.pixel(x, y);
    return qAlpha(p) == 0 ? 0 : (p | 0xFF000000u);
}

QRgb pagePixel(const PixelPicture& picture, int x, int y)
{
    const std::uint32_t p = picture.pixel(x, y);  // 0xAABBGGRR
    return p == 0 ? 0 : qRgb(p & 0xFF, (p >> 8) & 0xFF, (p >> 16) & 0xFF);
}

struct Difference {
    int pixels = 0;  // pixels that differ
    int inked = 0;   // pixels drawn in either picture
    QPoint first{-1, -1};
};

Difference compare(const QImage& desktop, const PixelPicture& page, QRect region)
{
    Difference d;
    region &= QRect(0, 0, page.width(), page.height());
    for (int y = region.top(); y <= region.bottom(); ++y) {
        for (int x = region.left(); x <= region.right(); ++x) {
            const QRgb a = desktopPixel(desktop, x, y);
            const QRgb b = pagePixel(page, x, y);
            if (a || b) ++d.inked;
            if (a != b) {
                if (d.pixels++ == 0) d.first = QPoint(x, y);
            }
        }
    }
    return d;
}

using Drawing = std::function<void(Surface&)>;

}  // namespace

Q_DECLARE_METATYPE(Drawing)

class TestWebPicture : public QObject {
    Q_OBJECT

private slots:
    void primitivesLandOnTheDesktopsPixels_data();
    void primitivesLandOnTheDesktopsPixels();
    void sourceCircleMatchesClosely();
    void wholeRunMatchesTheDesktop_data();
    void wholeRunMatchesTheDesktop();
    void flushReportsTheRectangleDrawn();
    void coordinatesFarOffThePictureCostNothing();
};

void TestWebPicture::primitivesLandOnTheDesktopsPixels_data()
{
    QTest::addColumn<Drawing>("drawing");
    QTest::addColumn<double>("ratio");
    const std::pair<const char*, Drawing> drawings[] = {
        {"1-pixel horizontal line", [](Surface& s) { s.line(1500, 1500, 3000, 1500); }},
        {"1-pixel vertical line", [](Surface& s) { s.line(1500, 1500, 1500, 3000); }},
        {"2-pixel bar",
         [](Surface& s) {
             s.setLineWidth(2);
             s.line(150, 300, 450, 300);
         }},
        {"2-pixel vertical line",
         [](Surface& s) {
             s.setLineWidth(2);
             s.line(1500, 1500, 1500, 3000);
         }},
        {"coordinates rounded to the nearest pixel",
         [](Surface& s) { s.line(157, 142, 1507, 142); }},
        {"pixel unit",
         [](Surface& s) {
             s.setScaleUnit(ScaleUnit::Pixels);
             s.line(5, 40, 100, 40, 0x00C0C0C0);
         }},
        {"45-degree line", [](Surface& s) { s.line(150, 150, 1500, 1500); }},
        {"zero-length 1-pixel line", [](Surface& s) { s.line(300, 300, 301, 302); }},
        {"zero-length 2-pixel line",
         [](Surface& s) {
             s.setLineWidth(2);
             s.line(300, 300, 300, 300, 0x0000FF00);
         }},
        {"1-twip circle as a 2x2 dot",
         [](Surface& s) {
             s.setLineWidth(2);
             s.circle(7500, 7000, 1);
         }},
    };
    for (const auto& [name, drawing] : drawings) {
        for (double ratio : {1.0, 2.0}) {
            QTest::addRow("%s at %gx", name, ratio) << drawing << ratio;
        }
    }
}

void TestWebPicture::primitivesLandOnTheDesktopsPixels()
{
    QFETCH(Drawing, drawing);
    QFETCH(double, ratio);
    ImageSurface desktop({801, 651}, ratio, classicPalette(), {});
    PixelPicture page(801, 651, ratio);
    drawing(desktop);
    drawing(page);
    const Difference d = compare(desktop.image(), page, QRect(0, 0, page.width(), page.height()));
    QVERIFY2(d.inked > 0, "nothing was drawn");
    QVERIFY2(d.pixels == 0, qPrintable(QStringLiteral("%1 of %2 pixels differ, first at (%3, %4)")
                                           .arg(d.pixels)
                                           .arg(d.inked)
                                           .arg(d.first.x())
                                           .arg(d.first.y())));
}

// A circle's outline is not a line's square pen; the toolkit's rasteriser may differ at its edge
// by a pixel, but the disc, its white fill and its size must be the desktop's.
void TestWebPicture::sourceCircleMatchesClosely()
{
    for (double ratio : {1.0, 2.0}) {
        ImageSurface desktop({801, 651}, ratio, classicPalette(), {});
        PixelPicture page(801, 651, ratio);
        for (Surface* s : {static_cast<Surface*>(&desktop), static_cast<Surface*>(&page)}) {
            s->setLineWidth(2);
            s->setFillColour(systemColour(kTitleBarTextColour));
            s->setFillStyle(FillStyle::Solid);
            s->circle(1700, 3500, 100);
        }
        const int c = int(1700 / 15.0 * ratio);
        const int y = int(3500 / 15.0 * ratio);
        QCOMPARE(pagePixel(page, c, y), qRgb(255, 255, 255));
        const Difference d =
            compare(desktop.image(), page, QRect(0, 0, page.width(), page.height()));
        QVERIFY2(d.inked > 100 * ratio * ratio, qPrintable(QString::number(d.inked)));
        QVERIFY2(d.pixels <= d.inked / 5,
                 qPrintable(QStringLiteral("%1 of %2 pixels differ").arg(d.pixels).arg(d.inked)));
    }
}

void TestWebPicture::wholeRunMatchesTheDesktop_data()
{
    QTest::addColumn<QString>("frequency");
    QTest::addColumn<QString>("distance");
    QTest::addColumn<double>("ratio");
    QTest::newRow("defaults") << "0.6"
                              << "350" << 1.0;
    QTest::newRow("vyšší at 400") << "1"
                                  << "400" << 1.0;
    QTest::newRow("nízký at 300") << "0.03"
                                  << "300" << 1.0;
    QTest::newRow("vysoký at 300, 2x") << "5"
                                       << "300" << 2.0;
}

// The bars, dots and axis (right of x = 7400 twips) are the desktop's pixel for pixel; elsewhere
// the thousands of diagonal beam, ray and arrow lines may differ from the toolkit's line
// rasteriser at single pixels, but hardly anywhere.
void TestWebPicture::wholeRunMatchesTheDesktop()
{
    QFETCH(QString, frequency);
    QFETCH(QString, distance);
    QFETCH(double, ratio);
    FakeHost host;
    host.boxes[SettingsBox::nFi] = frequency.toStdString();
    host.boxes[SettingsBox::nRozteč] = distance.toStdString();
    ImageSurface desktop({801, 651}, ratio, classicPalette(), {});
    PixelPicture page(801, 651, ratio);
    runExperiment(desktop, host);
    runExperiment(page, host);

    const int left = int(7400 / 15.0 * ratio);
    const Difference pattern =
        compare(desktop.image(), page, QRect(left, 0, page.width() - left, page.height()));
    QVERIFY2(pattern.pixels == 0,
             qPrintable(QStringLiteral("pattern: %1 pixels differ, first at (%2, %3)")
                            .arg(pattern.pixels)
                            .arg(pattern.first.x())
                            .arg(pattern.first.y())));
    const Difference whole = compare(desktop.image(), page, QRect(0, 0, left, page.height()));
    QVERIFY2(
        whole.pixels * 100 <= whole.inked,
        qPrintable(QStringLiteral("bench: %1 of %2 differ").arg(whole.pixels).arg(whole.inked)));
}

void TestWebPicture::flushReportsTheRectangleDrawn()
{
    std::vector<PixelPicture::Rect> flushed;
    PixelPicture page(801, 651, 1, [&](const PixelPicture::Rect& r) { flushed.push_back(r); });
    page.flush();
    QVERIFY(flushed.empty());  // nothing drawn, nothing to show
    page.line(1500, 1500, 3000, 1500);
    page.setLineWidth(2);
    page.line(1500, 3000, 1500, 3000);
    page.flush();
    QCOMPARE(flushed.size(), std::size_t(1));
    QCOMPARE(flushed[0].x, 99);
    QCOMPARE(flushed[0].y, 100);
    QCOMPARE(flushed[0].width, 200 - 99 + 1);
    QCOMPARE(flushed[0].height, 200 - 100 + 1);
    page.flush();
    QCOMPARE(flushed.size(), std::size_t(1));  // shown once
    page.line(-3000, -3000, 30000, -3000);     // off the picture: clipped, nothing to show
    page.flush();
    QCOMPARE(flushed.size(), std::size_t(1));
}

// The run never draws outside its 800 x 650 pixels, but the picture takes whatever a Surface may
// be given: far-off lines are cut to the picture, not walked pixel by pixel, and a coordinate that
// is not a number draws nothing.
void TestWebPicture::coordinatesFarOffThePictureCostNothing()
{
    PixelPicture page(801, 651, 2);
    QElapsedTimer timer;
    timer.start();
    page.line(-1e30f, 1500, 1e30f, 1500);               // row 200 at 2x, all across
    page.line(-3e9f, -2e9f, 3e9f + 1500, 2e9f + 3000);  // a diagonal through the picture
    page.line(-1e30f, -1e30f, 1e30f, 1e30f);
    page.line(std::nanf(""), 0, 100, 100);
    page.line(0, 0, std::numeric_limits<float>::infinity(), 0);
    page.setFillStyle(FillStyle::Solid);
    page.circle(1e30f, 1e30f, 1e30f);
    page.circle(-1e9f, 0, 1);
    page.circle(0, std::nanf(""), 100);
    QVERIFY(timer.elapsed() < 1000);
    QCOMPARE(pagePixel(page, 0, 200), qRgb(0, 0, 0));
    QCOMPARE(pagePixel(page, page.width() - 1, 200), qRgb(0, 0, 0));
    QCOMPARE(pagePixel(page, 0, 199), QRgb(0));
    int diagonal = 0;
    for (int x = 0; x < page.width(); ++x) diagonal += pagePixel(page, x, x * 2 / 3 + 100) != 0;
    QVERIFY2(diagonal > 0, "the diagonal's part inside the picture is drawn");
}

QTEST_MAIN(TestWebPicture)
#include "tst_webpicture.moc"
