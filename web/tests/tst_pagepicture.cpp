// The page's picture at the page's pixel size: made again at a new size, also in the middle of a
// run, it ends as a run drawn at that size from the start; its ratio is kept within limits.
#include <QtTest>
#include <functional>

#ifndef Q_MOC_RUN  // moc cannot read the Czech identifiers of these headers, nor needs them
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
    void refitDuringARunEndsInTheSamePicture();
    void ratioIsKeptWithinItsLimits();
    void heldBackStepsAreShownTogether();
};

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

// Held back, a run's flushes show nothing; each showHeldBack() then shows at once one rectangle
// holding all that was drawn since the last, and a picture made anew meanwhile is shown whole at
// once. A canvas that takes those rectangles ends as the run's picture.
void TestPagePicture::heldBackStepsAreShownTogether()
{
    std::vector<std::uint8_t> canvas;
    int shown = 0;
    PagePicture picture(
        kWidth, kHeight, 1.0,
        [&](const PixelPicture& p) { canvas.assign(std::size_t(p.width()) * p.height() * 4, 0); },
        [&](const PixelPicture& p, const PixelPicture::Rect& r) {
            ++shown;
            for (int y = r.y; y < r.y + r.height; ++y) {
                const std::size_t from = (std::size_t(y) * p.width() + r.x) * 4;
                std::copy(p.rgba() + from, p.rgba() + from + std::size_t(r.width) * 4,
                          canvas.begin() + std::ptrdiff_t(from));
            }
        });
    FakeHost host;
    host.boxes[SettingsBox::nFi] = "5";
    host.boxes[SettingsBox::nRozteč] = "400";
    int showings = 0;
    int steps = 0;
    struct : RunHost {
        FakeHost* inner;
        std::function<void()> eachWait;
        std::string settingsText(SettingsBox box) const override { return inner->settingsText(box); }
        void placeLabel(SceneLabel, double, double) override {}
        bool pace(double) override
        {
            eachWait();
            return true;
        }
    } waits;
    waits.inner = &host;
    int wrong = 0;  // waits at which the showings were not those expected
    waits.eachWait = [&] {
        wrong += shown != showings;  // nothing shown by the run's flushes
        if (++steps % 20 == 0) {     // the browser gets control now and then
            picture.showHeldBack();
            wrong += shown != ++showings;
        }
        if (steps == 100) {
            picture.setRatio(1.25);  // made anew and shown whole, held back or not
            wrong += shown != ++showings;
        }
    };
    picture.beginRun();
    picture.holdBack(true);
    runExperiment(picture, waits);
    QCOMPARE(wrong, 0);
    QCOMPARE(shown, showings);
    picture.holdBack(false);
    picture.showHeldBack();
    QCOMPARE(shown, showings + 1);
    const PixelPicture fresh = runAt(1.25);
    QCOMPARE(picture.picture().width(), fresh.width());
    QVERIFY(std::equal(fresh.rgba(), fresh.rgba() + fresh.width() * fresh.height() * 4,
                       canvas.begin()));
}

QTEST_APPLESS_MAIN(TestPagePicture)
#include "tst_pagepicture.moc"
