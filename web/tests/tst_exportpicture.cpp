// The picture the page saves against the one kvelmor-export writes: the export draws with the
// desktop toolkit (ImageSurface); the page's ExportPicture must land on the very same pixels, for
// every run at the export's scales 1 and 2, and for lines and circles anywhere, across the
// picture's edges too.
#include <QGuiApplication>
#include <QPainter>
#include <QtTest>
#include <random>

#ifndef Q_MOC_RUN  // moc cannot read the Czech identifiers of these headers, nor needs them
#include "canvas/imagesurface.h"
#include "canvas/recordingsurface.h"
#include "run/experiment.h"
#include "tests/fakehost.h"
#include "web/exportpicture.h"
#endif

using namespace kvelmor;

namespace {

const QSize kDrawn(801, 651);
const QSize kClientArea(765, 560);

QPalette classicPalette()
{
    QPalette palette;
    palette.setColor(QPalette::ButtonText, Qt::black);
    palette.setColor(QPalette::WindowText, Qt::black);
    return palette;
}

// The toolkit's pixel as the page's word 0xAABBGGRR, 0 where nothing was drawn.
std::uint32_t word(QRgb p)
{
    if (qAlpha(p) == 0) return 0;
    return 0xFF000000u | qRed(p) | (qGreen(p) << 8) | (qBlue(p) << 16);
}

// "" when the pictures agree, else how many pixels differ and where the first is.
QString difference(const QImage& desktop, const std::function<std::uint32_t(int, int)>& page)
{
    int differ = 0;
    QPoint first;
    for (int y = 0; y < desktop.height(); ++y) {
        for (int x = 0; x < desktop.width(); ++x) {
            if (word(desktop.pixel(x, y)) != page(x, y) && differ++ == 0) first = {x, y};
        }
    }
    return differ ? QStringLiteral("%1 pixels differ, first at (%2, %3)")
                        .arg(differ)
                        .arg(first.x())
                        .arg(first.y())
                  : QString();
}

}  // namespace

class TestExportPicture : public QObject {
    Q_OBJECT

private slots:
    void runsAreTheExportsPixels_data();
    void runsAreTheExportsPixels();
    void linesAndCirclesAnywhere();
};

void TestExportPicture::runsAreTheExportsPixels_data()
{
    QTest::addColumn<QString>("frequency");
    QTest::addColumn<QString>("distance");
    QTest::addColumn<int>("scale");
    for (const char* frequency : {"0.03", "0.2", "0.6", "1", "5"}) {
        for (const char* distance : {"300", "350", "400"}) {
            for (int scale : {1, 2})
                QTest::addRow("%s at %s, x%d", frequency, distance, scale)
                    << frequency << distance << scale;
        }
    }
}

// As the export makes its PNG: the run drawn on the window's picture, whose client area is
// painted over the grey window.
void TestExportPicture::runsAreTheExportsPixels()
{
    QFETCH(QString, frequency);
    QFETCH(QString, distance);
    QFETCH(int, scale);
    FakeHost host;
    host.boxes[SettingsBox::nFi] = frequency.toStdString();
    host.boxes[SettingsBox::nRozteč] = distance.toStdString();
    RecordingSurface run;
    runExperiment(run, host);

    ImageSurface surface(kDrawn, scale, classicPalette(), {});
    run.drawOnto(surface);
    QImage exported(kClientArea * scale, QImage::Format_RGB32);
    exported.setDevicePixelRatio(scale);
    exported.fill(QColor(0xC0, 0xC0, 0xC0));
    {
        QPainter painter(&exported);
        surface.paintOnto(painter, QRect(QPoint(0, 0), kClientArea));
    }

    ExportPicture picture(kDrawn.width(), kDrawn.height(), scale);
    run.drawOnto(picture);
    const std::vector<std::uint8_t> rgba =
        picture.clientArea(kClientArea.width(), kClientArea.height(), 0x00C0C0C0);
    QCOMPARE(rgba.size(), std::size_t(exported.width()) * exported.height() * 4);
    const QString differ = difference(exported, [&](int x, int y) {
        const std::uint8_t* p = &rgba[(std::size_t(y) * exported.width() + x) * 4];
        return std::uint32_t(p[0]) | p[1] << 8 | p[2] << 16 | std::uint32_t(p[3]) << 24;
    });
    QVERIFY2(differ.isEmpty(), qPrintable(differ));
}

// Lines of 1 to 3 pixels at both scales, long and short, level, plumb and slanting, inside the
// picture and reaching far beyond its edges; circles filled and not, with pens of 2 to 6 pixels.
void TestExportPicture::linesAndCirclesAnywhere()
{
    std::mt19937 random(16);
    std::uniform_real_distribution<float> x(-3000, 15000), y(-3000, 12000), step(-300, 300);
    std::uniform_real_distribution<float> centreX(500, 11000), centreY(500, 9000), radius(10, 2000);
    for (int k = 0; k < 24; ++k) {
        const int scale = 1 + k % 2;
        const int width = 1 + k / 2 % 3;
        ImageSurface desktop(kDrawn, scale, classicPalette(), {});
        ExportPicture page(kDrawn.width(), kDrawn.height(), scale);
        for (int n = 0; n < 120; ++n) {
            const float x1 = x(random), y1 = y(random);
            float x2 = n % 3 ? x1 + step(random) : x(random);
            float y2 = n % 3 ? y1 + step(random) : y(random);
            if (n % 7 == 0) y2 = y1;
            if (n % 11 == 0) x2 = x1;
            for (Surface* s : {static_cast<Surface*>(&desktop), static_cast<Surface*>(&page)}) {
                s->setLineWidth(width);
                s->line(x1, y1, x2, y2);
            }
        }
        const float cx = centreX(random), cy = centreY(random), r = radius(random);
        if (width * scale > 1) {  // a pen of one pixel draws no circle of the run
            for (Surface* s : {static_cast<Surface*>(&desktop), static_cast<Surface*>(&page)}) {
                s->setFillColour(systemColour(kTitleBarTextColour));
                s->setFillStyle(k % 3 ? FillStyle::Solid : FillStyle::Transparent);
                s->circle(cx, cy, r);
            }
        }
        const QString differ =
            difference(desktop.image(), [&](int px, int py) { return page.pixel(px, py); });
        QVERIFY2(differ.isEmpty(),
                 qPrintable(QStringLiteral("pen %1 at x%2: %3").arg(width).arg(scale).arg(differ)));
    }
}

QTEST_MAIN(TestExportPicture)
#include "tst_exportpicture.moc"
