// Lines of the one picture against the pixel rule applied step by step: for thousands of lines of
// every slope, length and pen, at whole and fractional ratios, in pixels and in twips, partly off
// the picture, the picture's pixels are those of the plainest walk of the rule (each step's grid
// point from a rounded quotient, each step's pen placed anew), and its flushed rectangle holds
// every pixel drawn.
#include <QtTest>
#include <random>

#ifndef Q_MOC_RUN  // moc cannot read the Czech identifiers of these headers, nor needs them
#include "canvas/pixelpicture.h"
#include "canvas/pixelrule.h"
#endif

using namespace kvelmor;

namespace {

constexpr int kSize = 120;  // logical pixels across the picture

// The pixel rule, step by step: the pen's square at grid point ga + round(g i / n) for every i
// from 0 to n, each pixel of it that lies on the picture set. `drawn` is `width` x `height`.
void ruleLine(std::vector<std::uint32_t>& drawn, int width, int height, float x1, float y1,
              float x2, float y2, const DrawingState& state, double ratio)
{
    const double pen = pixelrule::penExtent(state.lineWidth, ratio);
    const pixelrule::GridPoint a = pixelrule::toGrid(x1, y1, state, ratio);
    const pixelrule::GridPoint b = pixelrule::toGrid(x2, y2, state, ratio);
    const double gx = b.x - a.x, gy = b.y - a.y;
    const double n = std::max({std::abs(gx), std::abs(gy), 1.0});
    for (double i = 0; i <= n; ++i) {
        const pixelrule::DevicePoint p = pixelrule::toDevice(
            {a.x + std::round(gx * i / n), a.y + std::round(gy * i / n)}, state, ratio);
        const pixelrule::PixelRange xs = pixelrule::penRange(p.x, pen);
        const pixelrule::PixelRange ys = pixelrule::penRange(p.y, pen);
        for (int y = std::max(ys.first, 0); y <= std::min(ys.last, height - 1); ++y)
            for (int x = std::max(xs.first, 0); x <= std::min(xs.last, width - 1); ++x)
                drawn[std::size_t(y) * width + x] = 1;
    }
}

}  // namespace

class TestPixelStroke : public QObject {
    Q_OBJECT

private slots:
    void linesAreThePixelRulesStepByStep_data();
    void linesAreThePixelRulesStepByStep();
};

void TestPixelStroke::linesAreThePixelRulesStepByStep_data()
{
    QTest::addColumn<double>("ratio");
    QTest::addColumn<int>("lineWidth");
    QTest::addColumn<bool>("twips");
    for (double ratio : {1.0, 2.0, 3.0, 0.67, 1.25, 1.5, 2.41})
        for (int width : {1, 2, 3})
            for (bool twips : {false, true})
                QTest::addRow("%gx, %d-pixel pen, in %s", ratio, width, twips ? "twips" : "pixels")
                    << ratio << width << twips;
}

void TestPixelStroke::linesAreThePixelRulesStepByStep()
{
    QFETCH(double, ratio);
    QFETCH(int, lineWidth);
    QFETCH(bool, twips);
    std::mt19937 random(std::uint32_t(ratio * 1000 + lineWidth * 10 + twips));
    const double unit = twips ? 15 : 1;
    // End points over the picture and a little beyond it, at any fraction of a unit; short
    // arrows (as a chain's) and long lines alike.
    std::uniform_real_distribution<float> anywhere(-10 * unit, (kSize + 10) * unit);
    std::uniform_real_distribution<float> nearby(-4 * unit, 4 * unit);
    for (int n = 0; n < 400; ++n) {
        PixelPicture picture(kSize, kSize, ratio);
        picture.setScaleUnit(twips ? ScaleUnit::Twips : ScaleUnit::Pixels);
        picture.setLineWidth(lineWidth);
        const float x1 = anywhere(random), y1 = anywhere(random);
        const bool arrow = n % 2 == 0;
        const float x2 = arrow ? x1 + nearby(random) : anywhere(random);
        const float y2 = arrow ? y1 + nearby(random) : anywhere(random);
        picture.line(x1, y1, x2, y2, rgb(0, 0x96, 0));
        QRect flushed;
        PixelPicture shown(kSize, kSize, ratio, [&](const PixelPicture::Rect& r) {
            flushed = QRect(r.x, r.y, r.width, r.height);
        });
        shown.setScaleUnit(picture.state().unit);
        shown.setLineWidth(lineWidth);
        shown.line(x1, y1, x2, y2);
        shown.flush();

        std::vector<std::uint32_t> rule(std::size_t(picture.width()) * picture.height());
        ruleLine(rule, picture.width(), picture.height(), x1, y1, x2, y2, picture.state(), ratio);
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                const bool drawn = picture.pixel(x, y) != 0;
                if (drawn != (rule[std::size_t(y) * picture.width() + x] != 0)) {
                    QFAIL(qPrintable(QStringLiteral("line (%1, %2) to (%3, %4): pixel (%5, %6) %7")
                                         .arg(x1)
                                         .arg(y1)
                                         .arg(x2)
                                         .arg(y2)
                                         .arg(x)
                                         .arg(y)
                                         .arg(drawn ? "drawn, not by the rule" : "left out")));
                }
                if (drawn) {
                    QCOMPARE(picture.pixel(x, y), 0xFF009600u);
                    QVERIFY2(flushed.contains(x, y), "a drawn pixel outside the flushed rectangle");
                }
            }
        }
    }
}

QTEST_APPLESS_MAIN(TestPixelStroke)
#include "tst_pixelstroke.moc"
