// What one press of "Start" draws, recorded primitive by primitive without pixels.
#include <QtTest>
#include <cmath>
#include <map>
#include <set>

#ifndef Q_MOC_RUN  // moc cannot read the Czech identifiers of these headers, nor needs them
#include "canvas/recordingsurface.h"
#include "fakehost.h"
#include "independentsum.h"
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
    void tellsTheHostOfEachStepOnceDrawn();
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

// The bench as a user sees it, part by part: what each part is made of (kind, colour, width,
// where it lies) and that the parts come in order, the grey background first and the rays last.
void TestExperiment::drawsTheBenchGroupByGroup()
{
    Run run;
    std::vector<Primitive> bench;
    for (const auto& p : run.all()) {
        if (p.flushesBefore == 0) bench.push_back(p);
    }
    const Colour grey = 0x00C0C0C0, cyan = 0x00FFFFC0;
    const auto horizontal = [](const Primitive& p) { return p.kind == Kind::Line && p.y1 == p.y2; };

    // Which part each primitive belongs to; every one must belong to exactly one.
    enum Part { Background, Source, Fan, Band, Slit, Screen, Detector, Axis, Ray, None };
    const auto partOf = [&](const Primitive& p) {
        if (p.unit == ScaleUnit::Pixels && horizontal(p) && colourOf(p) == grey && p.x1 == 5 &&
            p.x2 == 800 && p.lineWidth == 1)
            return Background;
        if (p.kind == Kind::Circle) return Source;
        if (p.unit != ScaleUnit::Twips || p.kind != Kind::Line) return None;
        if (colourOf(p) == cyan && p.lineWidth == 1) {
            if (p.x1 == 1700 && p.y1 == 3500 && p.x2 == 2500) return Fan;
            if (horizontal(p) && p.x1 == 2500 && p.x2 == 3500) return Band;
            if (horizontal(p) && p.x1 == 3500 && p.x2 == 3600) return Slit;
            if (p.x1 == 3500 && p.y1 == 3500 && p.x2 == 5500) return Ray;
            return None;
        }
        if (colourOf(p) != kFore || p.x1 != p.x2) return None;
        if (p.x1 == 3500 && p.lineWidth == 2) return Screen;
        if (p.x1 == 5500 && p.lineWidth == 2 && p.y1 == 1500 && p.y2 == 7500) return Detector;
        if (p.x1 == 7500 && p.lineWidth == 1 && p.y1 == 1500 && p.y2 == 7500) return Axis;
        return None;
    };
    std::map<Part, std::vector<Primitive>> parts;
    Part last = Background;
    for (const auto& p : bench) {
        const Part part = partOf(p);
        QVERIFY2(part != None, qPrintable(QStringLiteral("(%1,%2)-(%3,%4) width %5 colour %6")
                                              .arg(p.x1)
                                              .arg(p.y1)
                                              .arg(p.x2)
                                              .arg(p.y2)
                                              .arg(p.lineWidth)
                                              .arg(colourOf(p), 0, 16)));
        // Fan and band lines alternate; otherwise a part never follows a later one.
        const bool beam = (part == Fan || part == Band) && (last == Fan || last == Band);
        QVERIFY2(part >= last || beam,
                 qPrintable(QStringLiteral("part %1 after %2").arg(part).arg(last)));
        last = part;
        parts[part].push_back(p);
    }
    QCOMPARE(int(bench.size()), kApparatus);

    // The grey background covers rows 40 to 650, one line each.
    QCOMPARE(int(parts[Background].size()), 611);
    for (int i = 0; i < 611; ++i) QCOMPARE(parts[Background][i].y1, float(40 + i));

    // The source: a filled circle of radius 100, 800 twips left of the lens line.
    QCOMPARE(int(parts[Source].size()), 1);
    const Primitive& source = parts[Source][0];
    QVERIFY(source.x1 == 1700 && source.y1 == 3500 && source.x2 == 100);
    QCOMPARE(source.lineWidth, 2);
    QCOMPARE(source.fillStyle, FillStyle::Solid);
    QCOMPARE(source.fillColour, Colour(0x80000009));

    // The beam: a fan from the source to the lens line and parallel light on to the screen, each
    // band line at the height its fan line ends, from y = 7499 up to 1509.
    QCOMPARE(int(parts[Fan].size()), 600);
    QCOMPARE(int(parts[Band].size()), 600);
    for (int n = 0; n < 600; ++n) {
        const float y = 7500.f - (1 + 10 * n);
        QCOMPARE(parts[Fan][n].y2, y);
        QCOMPARE(parts[Band][n].y1, y);
    }

    // Light fills the slit from 2500 to 4500, one line a twip, the centre left to the rays.
    std::set<float> slitRows;
    for (const auto& p : parts[Slit]) slitRows.insert(p.y1);
    QCOMPARE(int(parts[Slit].size()), 2000);
    QCOMPARE(int(slitRows.size()), 2000);
    QCOMPARE(*slitRows.begin(), 2500.f);
    QCOMPARE(*slitRows.rbegin(), 4500.f);
    QVERIFY(!slitRows.count(3500.f));

    // The screen: two walls that leave the slit open between 2500 and 4500.
    QCOMPARE(int(parts[Screen].size()), 2);
    QVERIFY(parts[Screen][0].y1 == 1500 && parts[Screen][0].y2 == 2500);
    QVERIFY(parts[Screen][1].y1 == 7500 && parts[Screen][1].y2 == 4500);
    QCOMPARE(int(parts[Detector].size()), 1);
    QCOMPARE(int(parts[Axis].size()), 1);

    // Thirteen rays from the slit centre to the detector line, every 500 twips from the bottom.
    QCOMPARE(int(parts[Ray].size()), 13);
    for (int n = 0; n < 13; ++n) QCOMPARE(parts[Ray][n].y2, float(7500 - (1 + 500 * n)));
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
    const independent::Wave wave = independent::waveFor("0.6");
    for (int n = 0; n < 221; ++n) {
        const int j = 500 + 25 * n;
        QCOMPARE(bars[n].y1, float(7500 - j));
        QCOMPARE(bars[n].flushesBefore, 1 + n);
        const double expected = double(independent::squaredLength(wave, 350, j) * 0.009L);
        QVERIFY2(std::abs(bars[n].x2 - (7500 + expected)) < 0.01,
                 qPrintable(QStringLiteral("step %1: %2 against %3")
                                .arg(j)
                                .arg(bars[n].x2 - 7500)
                                .arg(expected)));
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

// Each step is told to the host once it has been drawn, before the next step's wait: 500, 525,
// ... 6000, one for every step, none for a step the close stopped.
void TestExperiment::tellsTheHostOfEachStepOnceDrawn()
{
    RecordingSurface surface;
    FakeHost host;
    runExperiment(surface, host);
    QCOMPARE(int(host.stepsDone.size()), 221);
    for (int n = 0; n < 221; ++n) {
        QCOMPARE(host.stepsDone[n], 500 + 25 * n);
        QCOMPARE(host.doneAtPace[n], std::size_t(n));
    }
    FakeHost closing;
    closing.closeBeforeStep = 4;
    runExperiment(surface, closing);
    QCOMPARE(closing.stepsDone, (std::vector<int>{500, 525, 550, 575}));
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
