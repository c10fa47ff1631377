// The one picture every front end draws a run into: where lines, dots and circles land by the
// pixel rule, in which colours, at every device-pixel ratio; that bars and the beam join and
// circles stay closed however small a pixel; and what it hands on (flushed rectangles, the
// opaque pixels a PNG is made of).
#include <QtTest>
#include <functional>
#include <set>

#ifndef Q_MOC_RUN  // moc cannot read the Czech identifiers of these headers, nor needs them
#include "canvas/pixelpicture.h"
#include "canvas/pixelrule.h"
#include "fakehost.h"
#include "run/experiment.h"
#endif

using namespace kvelmor;

namespace {

using Drawing = std::function<void(Surface&)>;

// The drawn pixels of a picture: their bounding rectangle and how many.
struct Ink {
    QRect bounds;
    int count = 0;
};

Ink inkOf(const PixelPicture& p)
{
    Ink ink;
    for (int y = 0; y < p.height(); ++y) {
        for (int x = 0; x < p.width(); ++x) {
            if (p.pixel(x, y)) {
                ink.bounds |= QRect(x, y, 1, 1);
                ++ink.count;
            }
        }
    }
    return ink;
}

PixelPicture runAt(double ratio, const char* frequency = "5", const char* distance = "400")
{
    FakeHost host;
    host.boxes[SettingsBox::nFi] = frequency;
    host.boxes[SettingsBox::nRozteč] = distance;
    PixelPicture picture(765, 560, ratio);
    runExperiment(picture, host);
    return picture;
}

// Whether the drawn pixels of `p` form one piece (neighbours across corners count).
bool inOnePiece(const PixelPicture& p)
{
    std::set<std::pair<int, int>> left;
    for (int y = 0; y < p.height(); ++y)
        for (int x = 0; x < p.width(); ++x)
            if (p.pixel(x, y)) left.insert({x, y});
    if (left.empty()) return false;
    std::vector<std::pair<int, int>> next{*left.begin()};
    for (left.erase(left.begin()); !next.empty();) {
        const auto [x, y] = next.back();
        next.pop_back();
        for (int d = 0; d < 9; ++d)
            if (left.erase({x + d % 3 - 1, y + d / 3 - 1}))
                next.push_back({x + d % 3 - 1, y + d / 3 - 1});
    }
    return left.empty();
}

// Whether the undrawn pixels reached from (x, y) by steps left, right, up and down stay off the
// picture's border: a closed outline around (x, y) lets nothing out.
bool enclosed(const PixelPicture& p, int x, int y)
{
    std::set<std::pair<int, int>> seen;
    std::vector<std::pair<int, int>> next{{x, y}};
    while (!next.empty()) {
        const auto [px, py] = next.back();
        next.pop_back();
        if (p.pixel(px, py) || !seen.insert({px, py}).second) continue;
        if (px == 0 || py == 0 || px == p.width() - 1 || py == p.height() - 1) return false;
        next.insert(next.end(), {{px - 1, py}, {px + 1, py}, {px, py - 1}, {px, py + 1}});
    }
    return true;
}

// The first and last row, from `from` on, of the run of rows in which column `x` is drawn.
std::pair<int, int> drawnRows(const PixelPicture& p, int x, int from)
{
    int first = from;
    while (first < p.height() && !p.pixel(x, first)) ++first;
    int last = first;
    while (last + 1 < p.height() && p.pixel(x, last + 1)) ++last;
    return {first, last};
}

}  // namespace

Q_DECLARE_METATYPE(Drawing)

class TestPixelPicture : public QObject {
    Q_OBJECT

private slots:
    void primitivesLandByThePixelRule_data();
    void primitivesLandByThePixelRule();
    void coloursAreTheDesktops();
    void sourceCircleIsWhiteInsideItsOutline();
    void circleOutlinesStayClosedAtEveryRatio_data();
    void circleOutlinesStayClosedAtEveryRatio();
    void barsAndBeamJoinWithoutGaps_data();
    void barsAndBeamJoinWithoutGaps();
    void isTheGridsPictureMappedAtAnyRatio();
    void flushReportsTheRectangleDrawn();
    void coordinatesFarOffThePictureCostNothing();
    void overIsOpaqueWithTheBackgroundWhereNothingWasDrawn();
};

void TestPixelPicture::primitivesLandByThePixelRule_data()
{
    QTest::addColumn<Drawing>("drawing");
    QTest::addColumn<double>("ratio");
    QTest::addColumn<QRect>("bounds");
    QTest::addColumn<int>("count");
    const auto wide = [](Drawing d) -> Drawing {
        return [d](Surface& s) {
            s.setLineWidth(2);
            d(s);
        };
    };
    const Drawing level = [](Surface& s) { s.line(1500, 1500, 3000, 1500); };
    QTest::newRow("1-pixel line covers its end pixels") << level << 1.0 << QRect(100, 100, 101, 1)
                                                        << 101;
    QTest::newRow("1-pixel line at 2x, two rows") << level << 2.0 << QRect(200, 200, 202, 2)
                                                  << 404;
    QTest::newRow("diagonal, one pixel a row")
        << Drawing([](Surface& s) { s.line(150, 150, 1500, 1500); }) << 1.0
        << QRect(10, 10, 91, 91) << 91;
    QTest::newRow("2-pixel line adds the row above")
        << wide([](Surface& s) {
               s.setScaleUnit(ScaleUnit::Pixels);
               s.line(10, 20, 30, 20);
           })
        << 1.0 << QRect(9, 19, 22, 2) << 44;
    const Drawing detectorLine = wide([](Surface& s) { s.line(1500, 1500, 1500, 3000); });
    QTest::newRow("2-pixel vertical line adds the column left")
        << detectorLine << 1.0 << QRect(99, 99, 2, 102) << 204;
    QTest::newRow("2-pixel line at 2x, four whole columns")
        << detectorLine << 2.0 << QRect(198, 198, 4, 204) << 816;
    QTest::newRow("1.47 pixels round to 1")
        << Drawing([](Surface& s) { s.line(22, 22, 22, 22); }) << 1.0 << QRect(1, 1, 1, 1) << 1;
    QTest::newRow("20.53, 1.53 pixels round to 21, 2")
        << Drawing([](Surface& s) { s.line(308, 23, 308, 23); }) << 1.0 << QRect(21, 2, 1, 1)
        << 1;
    const Drawing dot = wide([](Surface& s) { s.circle(300, 300, 1); });
    QTest::newRow("1-twip circle, a 2 x 2 dot") << dot << 1.0 << QRect(19, 19, 2, 2) << 4;
    QTest::newRow("1-twip circle at 2x") << dot << 2.0 << QRect(38, 38, 4, 4) << 16;
    QTest::newRow("line whose ends meet, the pen's square")
        << wide([](Surface& s) { s.line(300, 300, 300, 300, 0x0000FF00); }) << 1.0
        << QRect(19, 19, 2, 2) << 4;
}

void TestPixelPicture::primitivesLandByThePixelRule()
{
    QFETCH(Drawing, drawing);
    QFETCH(double, ratio);
    QFETCH(QRect, bounds);
    QFETCH(int, count);
    PixelPicture picture(300, 300, ratio);
    drawing(picture);
    const Ink ink = inkOf(picture);
    QCOMPARE(ink.bounds, bounds);
    QCOMPARE(ink.count, count);
}

void TestPixelPicture::coloursAreTheDesktops()
{
    const SystemPixels system{0xFF030201u, 0xFF0C0B0Au};
    PixelPicture p(50, 50, 1, {}, system);
    QCOMPARE(p.pixelOf(0x00FFFFC0), 0xFFFFFFC0u);  // red in the low byte, as in the pixel
    QCOMPARE(p.pixelOf(systemColour(kButtonTextColour)), system.buttonText);
    QCOMPARE(p.pixelOf(systemColour(kTitleBarTextColour)), kWhitePixel);
    QCOMPARE(p.pixelOf(systemColour(5)), system.windowText);
    QCOMPARE(PixelPicture(1, 1, 1).pixelOf(systemColour(kButtonTextColour)), kBlackPixel);

    p.setScaleUnit(ScaleUnit::Pixels);
    p.line(5, 5, 5, 5);
    p.line(6, 6, 6, 6, 0x000000FF);
    QCOMPARE(p.pixel(5, 5), system.buttonText);  // the fore colour
    QCOMPARE(p.pixel(6, 6), 0xFF0000FFu);
    QCOMPARE(p.rgba()[(6 * 50 + 6) * 4], std::uint8_t(0xFF));  // bytes R, G, B, A
    QCOMPARE(p.rgba()[(6 * 50 + 6) * 4 + 2], std::uint8_t(0));
}

// The source: a 2-pixel outline in the fore colour around the white title-bar text, centred on
// the corner of pixel (100, 100), so symmetric about it: 8 pixels to the left and above, 8 to the
// right and below, counting the one the corner belongs to.
void TestPixelPicture::sourceCircleIsWhiteInsideItsOutline()
{
    PixelPicture p(200, 200, 1);
    p.setLineWidth(2);
    p.setFillColour(systemColour(kTitleBarTextColour));
    p.setFillStyle(FillStyle::Solid);
    p.circle(1500, 1500, 100);  // radius 6.7 pixels
    QCOMPARE(p.pixel(100, 100), kWhitePixel);
    QCOMPARE(p.pixel(100, 93), kBlackPixel);
    QCOMPARE(p.pixel(93, 100), kBlackPixel);
    QCOMPARE(p.pixel(106, 100), kBlackPixel);
    QCOMPARE(p.pixel(100, 90), 0u);
    QCOMPARE(inkOf(p).bounds, QRect(92, 92, 16, 16));
    QVERIFY(enclosed(p, 100, 100) || p.pixel(100, 100));

    PixelPicture ring(200, 200, 1);  // not filled: only the outline, closed
    ring.setLineWidth(2);
    ring.circle(1500, 1500, 100);
    QCOMPARE(ring.pixel(100, 100), 0u);
    QVERIFY(enclosed(ring, 100, 100));
}

void TestPixelPicture::circleOutlinesStayClosedAtEveryRatio_data()
{
    QTest::addColumn<double>("ratio");
    QTest::addColumn<int>("lineWidth");
    for (double ratio : {0.25, 0.33, 0.5, 0.67, 0.75, 0.9, 1.0, 1.25, 1.5, 2.0, 3.0})
        for (int width : {1, 2}) QTest::addRow("%gx, %d-pixel pen", ratio, width) << ratio << width;
}

// Every outline is one piece that lets nothing out of its middle, at any radius from the source's
// down to a pixel or two, also where the pen is a fraction of a device pixel.
void TestPixelPicture::circleOutlinesStayClosedAtEveryRatio()
{
    QFETCH(double, ratio);
    QFETCH(int, lineWidth);
    for (float radius : {40.0f, 100.0f, 170.0f, 400.0f, 1500.0f}) {
        PixelPicture p(230, 230, ratio);
        p.setLineWidth(lineWidth);
        p.circle(1725, 1725, radius);
        const pixelrule::DevicePoint c = pixelrule::toDevice(1725, 1725, p.state(), ratio);
        const QString what = QStringLiteral("radius %1 twips").arg(radius);
        QVERIFY2(inOnePiece(p), qPrintable(what + ": the outline is broken"));
        QVERIFY2(enclosed(p, int(c.x), int(c.y)), qPrintable(what + ": the outline is open"));
    }
}

void TestPixelPicture::barsAndBeamJoinWithoutGaps_data()
{
    QTest::addColumn<double>("ratio");
    for (double ratio : {0.5, 0.67, 1.25, 1.5, 2.0, 3.0}) QTest::addRow("%gx", ratio) << ratio;
}

// The bars, 25 twips apart and 2 pixels high, cover the column left of the axis from the top
// bar to the bottom one at a ratio of 1; the beam's lines, 10 twips apart, a column across the
// parallel band. At any other ratio each stays one unbroken run of device pixels over the same
// logical rows.
void TestPixelPicture::barsAndBeamJoinWithoutGaps()
{
    QFETCH(double, ratio);
    const PixelPicture one = runAt(1, "0.6", "350");
    const PixelPicture scaled = runAt(ratio, "0.6", "350");
    for (const auto& [column, from] : {std::pair{499, 0}, std::pair{200, 300}}) {
        const auto [top, bottom] = drawnRows(one, column, from);
        QVERIFY2(bottom - top > 50, qPrintable(QStringLiteral("column %1").arg(column)));
        const int x = int(std::floor((column + 0.5) * ratio));
        int rows = 0;
        for (int y = int(std::ceil(top * ratio)); (y + 0.5) / ratio < bottom + 1; ++y, ++rows) {
            QVERIFY2(scaled.pixel(x, y),
                     qPrintable(QStringLiteral("column %1, row %2: a gap").arg(x).arg(y)));
        }
        QVERIFY(rows >= int((bottom - top) * ratio));
    }
}

// From 0.5 to 6, every device pixel shows what the grid's picture (the 1x picture below a ratio
// of 2, the 2x picture from 2 to 3...) has under its middle: the whole run from a ratio of 1, and
// below it the bars right of the axis, where nothing is narrower than a device pixel. A ray and a
// chain of arrows a tenth of a pixel long, drawn alone, stay one piece.
void TestPixelPicture::isTheGridsPictureMappedAtAnyRatio()
{
    for (double ratio : {0.5, 0.67, 0.9, 1.1, 1.25, 1.41, 1.75, 2.41, 2.68, 3.5, 4.5, 6.0}) {
        const PixelPicture grid = runAt(pixelrule::gridPoints(ratio));
        const PixelPicture page = runAt(ratio);
        const int from = ratio < 1 ? int(std::ceil(502 * ratio)) : 0;
        int differ = 0;
        for (int y = 0; y < page.height(); ++y) {
            const int gy = int(pixelrule::cellOf(y, ratio));
            for (int x = from; x < page.width() && gy < grid.height(); ++x) {
                const int gx = int(pixelrule::cellOf(x, ratio));
                differ += gx < grid.width() && page.pixel(x, y) != grid.pixel(gx, gy);
            }
        }
        QVERIFY2(differ == 0, qPrintable(QStringLiteral("%1 pixels at %2").arg(differ).arg(ratio)));

        PixelPicture ray(450, 350, ratio), chain(450, 350, ratio);
        ray.line(3500, 3500, 6500, 7500 - 4501);
        for (float k = 0, x = 5500, y = 5000; k < 200; ++k) {  // arrows turning ever faster
            const float nx = x + 1.5f * std::cos(0.07f * k * k);
            const float ny = y + 1.5f * std::sin(0.07f * k * k);
            chain.line(x, y, nx, ny);
            x = nx;
            y = ny;
        }
        QVERIFY2(inOnePiece(ray) && inOnePiece(chain), qPrintable(QString::number(ratio)));
    }
}

void TestPixelPicture::flushReportsTheRectangleDrawn()
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
    QCOMPARE(QRect(flushed[0].x, flushed[0].y, flushed[0].width, flushed[0].height),
             QRect(QPoint(99, 100), QPoint(200, 200)));
    page.flush();
    QCOMPARE(flushed.size(), std::size_t(1));  // shown once
    page.line(-3000, -3000, 30000, -3000);     // off the picture: clipped, nothing to show
    page.flush();
    QCOMPARE(flushed.size(), std::size_t(1));
    page.circle(4500, 4500, 150);
    page.flush();
    QCOMPARE(flushed.size(), std::size_t(2));
    QVERIFY(QRect(flushed[1].x, flushed[1].y, flushed[1].width, flushed[1].height)
                .contains(QRect(QPoint(290, 290), QPoint(309, 309))));
}

// The run never draws outside its 800 x 650 pixels, but the picture takes whatever a Surface may
// be given: far-off lines are cut to the picture, not walked pixel by pixel, and a coordinate that
// is not a number draws nothing.
void TestPixelPicture::coordinatesFarOffThePictureCostNothing()
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
    QCOMPARE(page.pixel(0, 200), kBlackPixel);
    QCOMPARE(page.pixel(page.width() - 1, 200), kBlackPixel);
    QCOMPARE(page.pixel(0, 199), 0u);
    int diagonal = 0;
    for (int x = 0; x < page.width(); ++x) diagonal += page.pixel(x, x * 2 / 3 + 100) != 0;
    QVERIFY2(diagonal > 0, "the diagonal's part inside the picture is drawn");
}

// What a PNG is made of: every pixel opaque, the background's where nothing was drawn, cut to
// the size asked for and never beyond the picture.
void TestPixelPicture::overIsOpaqueWithTheBackgroundWhereNothingWasDrawn()
{
    PixelPicture p(10, 10, 2);
    p.setScaleUnit(ScaleUnit::Pixels);
    p.line(1, 1, 1, 1, 0x00FFFFC0);  // device pixels (2, 2) to (3, 3)
    const std::vector<std::uint8_t> rgba = p.over(0x00C0C0C0, 30, 6);
    QCOMPARE(rgba.size(), std::size_t(20 * 6 * 4));
    const auto at = [&](int x, int y) {  // as 0xAABBGGRR
        const std::uint8_t* b = &rgba[(y * 20 + x) * 4];
        return std::uint32_t(b[0]) | b[1] << 8 | b[2] << 16 | std::uint32_t(b[3]) << 24;
    };
    QCOMPARE(at(0, 0), 0xFFC0C0C0u);
    QCOMPARE(at(3, 3), 0xFFFFFFC0u);
    QCOMPARE(at(4, 3), 0xFFC0C0C0u);
    QCOMPARE(at(19, 5), 0xFFC0C0C0u);
    QVERIFY(p.over(0, -1, 4).empty());
}

QTEST_APPLESS_MAIN(TestPixelPicture)
#include "tst_pixelpicture.moc"
