// The page's picture at any pixel size: at every device-pixel ratio it is the picture of the pixel
// rule's grid mapped to device pixels (so bars keep joining and rays and chains stay unbroken),
// and a picture made again at a new size, also in the middle of a run, ends as a run drawn at
// that size from the start.
#include <QtTest>
#include <functional>
#include <set>

#ifndef Q_MOC_RUN  // moc cannot read the Czech identifiers of these headers, nor needs them
#include "canvas/pixelrule.h"
#include "run/experiment.h"
#include "tests/fakehost.h"
#include "web/pagepicture.h"
#endif

using namespace kvelmor;

namespace {

constexpr int kWidth = 765;
constexpr int kHeight = 560;

PixelPicture runAt(double ratio)
{
    FakeHost host;
    host.boxes[SettingsBox::nFi] = "5";  // the longest chains and the most varied bars
    host.boxes[SettingsBox::nRozteč] = "400";
    PixelPicture picture(kWidth, kHeight, ratio);
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

// A run host whose wait before the detector step `step` does `atStep`.
struct SteppingHost final : RunHost {
    int step;
    std::function<void()> atStep;
    FakeHost boxes;
    std::string settingsText(SettingsBox box) const override { return boxes.settingsText(box); }
    void placeLabel(SceneLabel, double, double) override {}
    bool pace(double) override
    {
        if (step-- == 0) atStep();
        return true;
    }
};

}  // namespace

class TestPagePicture : public QObject {
    Q_OBJECT

private slots:
    void isTheGridsPictureMappedAtAnyRatio();
    void refitDuringARunEndsInTheSamePicture();
    void ratioIsKeptWithinItsLimits();
};

// From 0.5 to 6, every device pixel shows what the grid's picture (the 1x picture below a ratio
// of 2, the 2x picture from 2 to 3...) has under its middle: the whole run from a ratio of 1, and
// below it the bars right of the axis, where nothing is narrower than a device pixel. A ray and a
// chain of arrows a tenth of a pixel long, drawn alone, stay one piece.
void TestPagePicture::isTheGridsPictureMappedAtAnyRatio()
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

// The page fitted anew while a run waits between its steps, over an earlier run: the run goes on
// in the new picture, which ends as a picture drawn at the new size from the start. A second fit
// at the same size makes nothing new.
void TestPagePicture::refitDuringARunEndsInTheSamePicture()
{
    for (const auto& [from, to] : {std::pair{1.0, 1.25}, {2.0, 0.67}, {1.5, 3.0}}) {
        int made = 0;
        int shown = 0;
        PagePicture picture(
            kWidth, kHeight, from, [&](const PixelPicture&) { ++made; },
            [&](const PixelPicture&, const PixelPicture::Rect&) { ++shown; });
        SteppingHost host;
        host.step = 100;
        host.atStep = [&] { QVERIFY(picture.setRatio(to) && !picture.setRatio(to)); };
        FakeHost earlier;
        earlier.boxes[SettingsBox::nFi] = "1";
        picture.beginRun();
        runExperiment(picture, earlier);
        host.boxes.boxes[SettingsBox::nFi] = "5";
        host.boxes.boxes[SettingsBox::nRozteč] = "400";
        picture.beginRun();
        runExperiment(picture, host);
        QCOMPARE(made, 2);
        QVERIFY(shown > 221);
        const PixelPicture fresh = runAt(to);
        QCOMPARE(picture.picture().width(), fresh.width());
        QVERIFY(std::equal(fresh.rgba(), fresh.rgba() + fresh.width() * fresh.height() * 4,
                           picture.picture().rgba()));
    }
}

void TestPagePicture::ratioIsKeptWithinItsLimits()
{
    // Drawn at the size shown, also beyond six device pixels to a pixel (a pinched tablet)...
    PagePicture picture(kWidth, kHeight, 8.5, {}, {});
    QCOMPARE(picture.picture().ratio(), 8.5);
    QCOMPARE(picture.picture().width(), int(std::ceil(kWidth * 8.5)));
    // ...up to 64 megapixels.
    QVERIFY(picture.setRatio(100));
    const double pixels = double(picture.picture().width()) * picture.picture().height();
    QVERIFY2(pixels <= PagePicture::kMostPixels && pixels > 0.99 * PagePicture::kMostPixels,
             qPrintable(QString::number(pixels)));
    QCOMPARE(picture.picture().ratio(), picture.largestRatio());
    QVERIFY(!picture.setRatio(1000));
    QVERIFY(picture.setRatio(0.01));
    QCOMPARE(picture.picture().ratio(), PagePicture::kSmallestRatio);
    QVERIFY(picture.setRatio(std::nan("")));
    QCOMPARE(picture.picture().width(), kWidth);
}

QTEST_APPLESS_MAIN(TestPagePicture)
#include "tst_pagepicture.moc"
