// The page's picture at any pixel size: at every device-pixel ratio it is the picture of the pixel
// rule's grid mapped to device pixels (so bars keep joining and rays and chains stay unbroken),
// and a picture made again at a new size, also in the middle of a run, ends as a run drawn at
// that size from the start.
#include <QtTest>
#include <functional>
#include <set>
#include <vector>

#ifndef Q_MOC_RUN  // moc cannot read the Czech identifiers of these headers, nor needs them
#include "canvas/pixelrule.h"
#include "run/experiment.h"
#include "tests/fakehost.h"
#include "web/pagepicture.h"
#endif

using namespace kvelmor;

namespace {

constexpr int kWidth = 801;
constexpr int kHeight = 651;
constexpr std::uint32_t kGreyPixel = 0xFFC0C0C0u;
constexpr int kAxis = 500;  // the probability axis's column at a ratio of 1

// A whole run with the given settings drawn at `ratio`.
PixelPicture runAt(double ratio, const char* frequency = "0.6", const char* distance = "350")
{
    FakeHost host;
    host.boxes[SettingsBox::nFi] = frequency;
    host.boxes[SettingsBox::nRozteč] = distance;
    PixelPicture picture(kWidth, kHeight, ratio);
    runExperiment(picture, host);
    return picture;
}

// The last column of `row` right of `from` drawn in anything but the background, or -1.
int barEnd(const PixelPicture& p, int row, int from)
{
    for (int x = p.width() - 1; x > from; --x) {
        const std::uint32_t v = p.pixel(x, row);
        if (v != 0 && v != kGreyPixel) return x;
    }
    return -1;
}

// Whether the drawn pixels of `p` form one piece (neighbours across corners count).
bool inOnePiece(const PixelPicture& p)
{
    std::set<std::pair<int, int>> inked;
    for (int y = 0; y < p.height(); ++y)
        for (int x = 0; x < p.width(); ++x)
            if (p.pixel(x, y)) inked.insert({x, y});
    if (inked.empty()) return false;
    std::vector<std::pair<int, int>> todo{*inked.begin()};
    inked.erase(inked.begin());
    while (!todo.empty()) {
        const auto [x, y] = todo.back();
        todo.pop_back();
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                if (inked.erase({x + dx, y + dy})) todo.push_back({x + dx, y + dy});
            }
        }
    }
    return inked.empty();
}

// A run host that calls `atStep` before the detector step of that number.
class SteppingHost final : public RunHost {
public:
    SteppingHost(int step, std::function<void()> atStep) : step_(step), atStep_(std::move(atStep))
    {
    }
    std::string settingsText(SettingsBox box) const override { return boxes_.settingsText(box); }
    void placeLabel(SceneLabel, double, double) override {}
    bool pace(double) override
    {
        if (steps_++ == step_) atStep_();
        return true;
    }

private:
    FakeHost boxes_;
    int step_;
    int steps_ = 0;
    std::function<void()> atStep_;
};

}  // namespace

class TestPagePicture : public QObject {
    Q_OBJECT

private slots:
    void isTheGridsPictureMapped_data();
    void isTheGridsPictureMapped();
    void barsJoinAndLinesStayWholeAtAnyRatio();
    void refitDuringARunEndsInTheSamePicture();
    void ratioIsKeptWithinItsLimits();
};

void TestPagePicture::isTheGridsPictureMapped_data()
{
    QTest::addColumn<double>("ratio");
    for (double ratio : {1.1, 1.25, 1.41, 1.75, 2.41, 2.68, 3.5}) {
        QTest::addRow("%g", ratio) << ratio;
    }
}

// Every device pixel shows what the grid's picture (the 1x picture below a ratio of 2, the 2x
// picture from 2 to 3...) has under its middle: nothing is lost or added by the mapping.
void TestPagePicture::isTheGridsPictureMapped()
{
    QFETCH(double, ratio);
    const int points = pixelrule::gridPoints(ratio);
    const PixelPicture grid = runAt(points, "5", "400");
    const PixelPicture page = runAt(ratio, "5", "400");
    int differ = 0;
    for (int y = 0; y < page.height(); ++y) {
        const int gy = int(pixelrule::cellOf(y, ratio));
        for (int x = 0; x < page.width() && gy < grid.height(); ++x) {
            const int gx = int(pixelrule::cellOf(x, ratio));
            if (gx < grid.width() && page.pixel(x, y) != grid.pixel(gx, gy)) ++differ;
        }
    }
    QCOMPARE(differ, 0);
}

// From 0.5 to 6: every device row of the pattern ends where its row of the grid's picture ends,
// mapped (no grey row through the bars, and the export's bar lengths within a device pixel), and
// a ray or a chain of short arrows, drawn alone, stays one piece.
void TestPagePicture::barsJoinAndLinesStayWholeAtAnyRatio()
{
    for (double ratio : {0.5, 0.6, 0.67, 0.8, 0.9, 1.25, 1.5, 1.9, 2.25, 3.3, 4.5, 6.0}) {
        const int points = pixelrule::gridPoints(ratio);
        const double cell = pixelrule::gridCell(ratio);
        const PixelPicture grid = runAt(points);
        const PixelPicture page = runAt(ratio);
        int rows = 0;
        for (int y = int(99 * ratio); y <= int(468 * ratio); ++y) {
            const int gy = int(pixelrule::cellOf(y, ratio));
            const int end = barEnd(grid, gy, (kAxis - 1) * points);
            if (end < (kAxis + 1) * points) continue;  // a bar shorter than the axis is wide
            const int expected = int(std::ceil((end + 1) * cell - 0.5)) - 1;
            const int drawn = barEnd(page, y, int((kAxis - 1) * ratio));
            QVERIFY2(drawn == expected, qPrintable(QStringLiteral("ratio %1, row %2: bar ends at "
                                                                  "%3, not %4")
                                                       .arg(ratio)
                                                       .arg(y)
                                                       .arg(drawn)
                                                       .arg(expected)));
            ++rows;
        }
        QVERIFY(rows > 300 * ratio);

        PixelPicture ray(450, 350, ratio);  // room for the ray and the chain alone
        ray.line(3500, 3500, 6500, 7500 - 4501);
        QVERIFY2(inOnePiece(ray), qPrintable(QStringLiteral("ray at %1").arg(ratio)));
        PixelPicture chain(450, 350, ratio);
        float x = 5500;
        float y = 5000;
        for (int k = 0; k < 200; ++k) {  // arrows of 1.5 twips, turning: a "vyšší" chain's kind
            const float nx = x + 1.5f * std::cos(0.07f * k * k);
            const float ny = y + 1.5f * std::sin(0.07f * k * k);
            chain.line(x, y, nx, ny);
            x = nx;
            y = ny;
        }
        QVERIFY2(inOnePiece(chain), qPrintable(QStringLiteral("chain at %1").arg(ratio)));
    }
}

// The page fitted anew while a run waits between its steps: the run goes on in the new picture,
// which ends as a picture drawn at the new size from the start. A second fit at the same size
// makes nothing new.
void TestPagePicture::refitDuringARunEndsInTheSamePicture()
{
    for (const auto& [from, to] : {std::pair{1.0, 1.25}, {2.0, 0.67}, {1.5, 3.0}}) {
        int made = 0;
        std::vector<PixelPicture::Rect> shown;
        PagePicture picture(
            kWidth, kHeight, from, [&](const PixelPicture&) { ++made; },
            [&](const PixelPicture&, const PixelPicture::Rect& r) { shown.push_back(r); });
        QCOMPARE(made, 1);
        FakeHost first;  // an earlier run at another distance, under the one refitted
        first.boxes[SettingsBox::nRozteč] = "400";
        picture.beginRun();
        runExperiment(picture, first);
        SteppingHost host(100, [&] {
            QVERIFY(picture.setRatio(to));
            QVERIFY(!picture.setRatio(to));
        });
        picture.beginRun();
        runExperiment(picture, host);
        QCOMPARE(made, 2);
        QCOMPARE(picture.picture().ratio(), to);

        const PixelPicture fresh = runAt(to);
        QCOMPARE(picture.picture().width(), fresh.width());
        QCOMPARE(picture.picture().height(), fresh.height());
        QVERIFY(std::equal(fresh.rgba(), fresh.rgba() + fresh.width() * fresh.height() * 4,
                           picture.picture().rgba()));
        QVERIFY(!shown.empty());
    }
}

void TestPagePicture::ratioIsKeptWithinItsLimits()
{
    PagePicture picture(kWidth, kHeight, 100, {}, {});
    QCOMPARE(picture.picture().ratio(), PagePicture::kLargestRatio);
    QVERIFY(picture.setRatio(0.01));
    QCOMPARE(picture.picture().ratio(), PagePicture::kSmallestRatio);
    QVERIFY(picture.setRatio(std::nan("")));
    QCOMPARE(picture.picture().ratio(), 1.0);
    QCOMPARE(picture.picture().width(), kWidth);
}

QTEST_APPLESS_MAIN(TestPagePicture)
#include "tst_pagepicture.moc"
