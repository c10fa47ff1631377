// What one press of "Start" draws, recorded primitive by primitive without pixels.
#include <QtTest>
#include <cmath>

#ifndef Q_MOC_RUN  // moc cannot read the Czech identifiers of these headers, nor needs them
#include "canvas/recordingsurface.h"
#include "fakehost.h"
#include "run/experiment.h"
#include "run/phasor.h"
#endif

using namespace kvelmor;
using Kind = RecordingSurface::Kind;
using Primitive = RecordingSurface::Primitive;

namespace {

constexpr int kApparatus = 3829;
constexpr int kWholeRun = 28528;
constexpr Colour kFore = 0xFFFFFFFF;  // stands for "no explicit colour" in the checks below

Colour colourOf(const Primitive& p)
{
    return p.colour.value_or(kFore);
}

bool isBar(const Primitive& p)
{
    return p.kind == Kind::Line && !p.colour && p.lineWidth == 2 && p.x1 == 7500 && p.y1 == p.y2 &&
           p.x2 >= 7500;
}

struct Run {
    RecordingSurface surface;
    FakeHost host;

    explicit Run(const char* distance = "350", const char* frequency = "0.6")
    {
        host.boxes[SettingsBox::nRozteč] = distance;
        host.boxes[SettingsBox::nFi] = frequency;
        runExperiment(surface, host);
    }
    const std::vector<Primitive>& all() const { return surface.primitives(); }
    std::vector<Primitive> where(bool (*keep)(const Primitive&)) const
    {
        std::vector<Primitive> out;
        for (const auto& p : all())
            if (keep(p)) out.push_back(p);
        return out;
    }
};

}  // namespace

class TestExperiment : public QObject {
    Q_OBJECT

private slots:
    void drawsTheWholeRunInOrder();
    void drawsTheBenchGroupByGroup();
    void detectorLineFollowsTheDistance_data();
    void detectorLineFollowsTheDistance();
    void drawsOneBarPerStepFromBottomToTop();
    void drawsChainsAndSumArrowsAtEveryTwentiethStep();
    void placesTheLabelsAtTheEnd();
    void pacesEveryStepWithTheCurrentCount();
    void stopsAtOnceWhenTheWindowCloses();
    void leavesTheDrawingStateForTheNextRun();
};

void TestExperiment::drawsTheWholeRunInOrder()
{
    Run run;
    QCOMPARE(int(run.all().size()), kWholeRun);
    // The bench is made visible before the first step, then every step is flushed.
    QCOMPARE(run.surface.flushes(), 1 + 221);
    int bench = 0;
    for (const auto& p : run.all()) bench += p.flushesBefore == 0;
    QCOMPARE(bench, kApparatus);
}

void TestExperiment::drawsTheBenchGroupByGroup()
{
    Run run;
    const auto& p = run.all();
    const Colour grey = 0x00C0C0C0, cyan = 0x00FFFFC0;

    for (int i = 0; i < 611; ++i) {  // background, in pixels, rows 40..650
        QCOMPARE(p[i].unit, ScaleUnit::Pixels);
        QCOMPARE(colourOf(p[i]), grey);
        QCOMPARE(p[i].lineWidth, 1);
        QCOMPARE(p[i].x1, 5.f);
        QCOMPARE(p[i].x2, 800.f);
        QCOMPARE(p[i].y1, float(40 + i));
        QCOMPARE(p[i].y2, float(40 + i));
    }
    const Primitive& source = p[611];
    QCOMPARE(source.kind, Kind::Circle);
    QCOMPARE(source.unit, ScaleUnit::Twips);
    QCOMPARE(source.x1, 1700.f);
    QCOMPARE(source.y1, 3500.f);
    QCOMPARE(source.x2, 100.f);
    QCOMPARE(source.lineWidth, 2);
    QCOMPARE(source.fillStyle, FillStyle::Solid);
    QCOMPARE(source.fillColour, Colour(0x80000009));

    for (int n = 0; n < 600; ++n) {  // the fan to the lens line, then parallel to the screen
        const Primitive& fan = p[612 + 2 * n];
        const Primitive& band = p[613 + 2 * n];
        const float y = 7500.f - (1 + 10 * n);
        QCOMPARE(colourOf(fan), cyan);
        QCOMPARE(fan.lineWidth, 1);
        QVERIFY(fan.x1 == 1700 && fan.y1 == 3500 && fan.x2 == 2500 && fan.y2 == y);
        QVERIFY(band.x1 == 2500 && band.y1 == y && band.x2 == 3500 && band.y2 == y);
    }
    QCOMPARE(p[1811].y2, 1509.f);
    for (int i = 1; i <= 1000; ++i) {  // light in the slit, above and below the centre
        const Primitive& up = p[1810 + 2 * i];
        const Primitive& down = p[1811 + 2 * i];
        QCOMPARE(colourOf(up), cyan);
        QVERIFY(up.x1 == 3500 && up.x2 == 3600 && up.y1 == 3500 - i && up.y2 == up.y1);
        QVERIFY(down.x1 == 3500 && down.x2 == 3600 && down.y1 == 3500 + i && down.y2 == down.y1);
    }
    const Primitive& screenTop = p[3812];
    const Primitive& screenBottom = p[3813];
    QVERIFY(screenTop.x1 == 3500 && screenTop.y1 == 1500 && screenTop.y2 == 2500);
    QVERIFY(screenBottom.x1 == 3500 && screenBottom.y1 == 7500 && screenBottom.y2 == 4500);
    QCOMPARE(screenTop.lineWidth, 2);
    QCOMPARE(colourOf(screenTop), kFore);
    QCOMPARE(p[3814].lineWidth, 2);  // detector line
    const Primitive& axis = p[3815];
    QVERIFY(axis.x1 == 7500 && axis.x2 == 7500 && axis.y1 == 1500 && axis.y2 == 7500);
    QCOMPARE(axis.lineWidth, 1);
    QCOMPARE(colourOf(axis), kFore);
    for (int n = 0; n < 13; ++n) {
        const Primitive& ray = p[3816 + n];
        QCOMPARE(colourOf(ray), cyan);
        QVERIFY(ray.x1 == 3500 && ray.y1 == 3500);
        QCOMPARE(ray.y2, float(7500 - (1 + 500 * n)));
    }
    QCOMPARE(p[kApparatus].flushesBefore, 1);  // the first step's straight arrow
}

void TestExperiment::detectorLineFollowsTheDistance_data()
{
    QTest::addColumn<QString>("distance");
    QTest::addColumn<float>("x");
    QTest::newRow("300") << "300" << 4500.f;
    QTest::newRow("350") << "350" << 5500.f;
    QTest::newRow("400") << "400" << 6500.f;
}

void TestExperiment::detectorLineFollowsTheDistance()
{
    QFETCH(QString, distance);
    QFETCH(float, x);
    Run run(qPrintable(distance));
    const Primitive& detector = run.all()[3814];
    QVERIFY(detector.x1 == x && detector.x2 == x && detector.y1 == 1500 && detector.y2 == 7500);
    for (int n = 0; n < 13; ++n) QCOMPARE(run.all()[3816 + n].x2, x);
    // Every straight arrow starts on the detector line.
    int onLine = 0;
    for (std::size_t i = kApparatus; i < run.all().size(); ++i) {
        onLine += run.all()[i].kind == Kind::Line && run.all()[i].x1 == x && !run.all()[i].colour;
    }
    QVERIFY(onLine >= 221);
}

void TestExperiment::drawsOneBarPerStepFromBottomToTop()
{
    Run run;
    const auto bars = run.where(isBar);
    QCOMPARE(int(bars.size()), 221);
    const Wave wave = *waveForFrequency("0.6");
    for (int n = 0; n < 221; ++n) {
        const int j = 500 + 25 * n;
        QCOMPARE(bars[n].y1, float(7500 - j));
        QCOMPARE(bars[n].flushesBefore, 1 + n);
        const double expected = sumArrows(Scene::forDistance(350), wave, j).squaredLength * 0.009;
        QCOMPARE(bars[n].x2, float(7500 + expected));
    }
    const auto dots =
        run.where([](const Primitive& p) { return p.kind == Kind::Circle && p.x1 == 7500; });
    QCOMPARE(int(dots.size()), 221);
    QCOMPARE(dots.front().x2, 1.f);
    QCOMPARE(dots.front().lineWidth, 2);
}

void TestExperiment::drawsChainsAndSumArrowsAtEveryTwentiethStep()
{
    Run run;
    const auto& all = run.all();
    std::vector<std::size_t> greens;
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (all[i].colour == Colour(0x0000FF00)) greens.push_back(i);
    }
    QCOMPARE(int(greens.size()), 12);
    for (int n = 0; n < 12; ++n) {
        const Primitive& sum = all[greens[n]];
        const float dy = 7000.f - 500 * n;
        QCOMPARE(sum.lineWidth, 2);
        QVERIFY(sum.x1 == 5500 && sum.y1 == dy);
        // The 2003 arrows before it form one chain from D to the green arrow's head.
        const std::size_t first = greens[n] - 2003;
        QVERIFY(all[first].x1 == 5500 && all[first].y1 == dy);
        for (std::size_t i = first; i < greens[n]; ++i) {
            QCOMPARE(all[i].lineWidth, 1);
            QVERIFY(!all[i].colour);
            if (i > first) QVERIFY(all[i].x1 == all[i - 1].x2 && all[i].y1 == all[i - 1].y2);
        }
        QVERIFY(sum.x2 == all[greens[n] - 1].x2 && sum.y2 == all[greens[n] - 1].y2);
    }
}

void TestExperiment::placesTheLabelsAtTheEnd()
{
    for (const char* distance : {"300", "400"}) {
        Run run(distance);
        const auto& placed = run.host.placements;
        QCOMPARE(int(placed.size()), 4);
        QCOMPARE(placed[0].label, SceneLabel::labClona);
        QVERIFY(placed[0].left == 2300 && placed[0].top == 1000);
        QCOMPARE(placed[1].label, SceneLabel::labDetektorB);
        QCOMPARE(placed[1].left, distance == std::string("300") ? 4500.0 : 6500.0);
        QCOMPARE(placed[2].label, SceneLabel::labPravděpodobnost);
        QVERIFY(placed[2].left == 7500 && placed[2].top == 1000);
        QCOMPARE(placed[3].label, SceneLabel::labZdroj);
        QVERIFY(placed[3].left == 900 && placed[3].top == 3400);
    }
}

void TestExperiment::pacesEveryStepWithTheCurrentCount()
{
    RecordingSurface surface;
    FakeHost host;
    host.boxes[SettingsBox::nSpomaleni] = "301";
    runExperiment(surface, host);
    QCOMPARE(int(host.paceCounts.size()), 221);
    for (double c : host.paceCounts) QCOMPARE(c, 301.0);
}

void TestExperiment::stopsAtOnceWhenTheWindowCloses()
{
    RecordingSurface surface;
    FakeHost host;
    host.closeBeforeStep = 4;
    runExperiment(surface, host);
    QCOMPARE(int(host.paceCounts.size()), 5);
    QCOMPARE(surface.flushes(), 1 + 4);  // nothing drawn after the close
    int bars = 0;
    for (const auto& p : surface.primitives()) bars += isBar(p);
    QCOMPARE(bars, 4);
    QVERIFY(host.placements.empty());
}

void TestExperiment::leavesTheDrawingStateForTheNextRun()
{
    RecordingSurface surface;
    FakeHost host;
    surface.setLineWidth(3);  // whatever a previous run left is used by the background
    runExperiment(surface, host);
    QCOMPARE(surface.primitives().front().lineWidth, 3);
    QCOMPARE(surface.state().unit, ScaleUnit::Twips);
    QCOMPARE(surface.state().lineWidth, 1);
    QCOMPARE(surface.state().fillStyle, FillStyle::Solid);
    QCOMPARE(surface.state().fillColour, Colour(0x80000009));
    surface.clear();
    runExperiment(surface, host);
    QCOMPARE(surface.primitives().front().lineWidth, 1);
    QCOMPARE(int(surface.primitives().size()), kWholeRun);
}

QTEST_APPLESS_MAIN(TestExperiment)
#include "tst_experiment.moc"
