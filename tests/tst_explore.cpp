// The explorer's model on its own: the run's chain and the CSV's numbers at N = 2003, the
// continuous slit's column at N = infinity and the approach to it, dark and bright steps, the
// fewest arrows, the paths' heights, the sweep of counts and the readouts.
#include <QtTest>
#include <bit>
#include <cmath>

#ifndef Q_MOC_RUN  // moc cannot read the Czech identifiers of these headers, nor needs them
#include "explore/explorer.h"
#include "explore/paths.h"
#include "explore/readouts.h"
#include "run/phasor.h"
#include "worksheet/table.h"
#endif

using namespace kvelmor;

namespace {

double chainLength(const ExploreSetting& setting)
{
    return kRunPaths * setting.wave.arrowLength;
}

// The darkest and the brightest of a setting's 221 steps by the run's sums.
std::pair<int, int> darkestAndBrightest(Explorer& explorer)
{
    int dark = 0, bright = 0;
    for (int step = 0; step < kStepCount; ++step) {
        if (explorer.runSquaredLength(step) < explorer.runSquaredLength(dark)) dark = step;
        if (explorer.runSquaredLength(step) > explorer.runSquaredLength(bright)) bright = step;
    }
    return {dark, bright};
}

}  // namespace

class TestExplore : public QObject {
    Q_OBJECT

private slots:
    void runCountIsTheRunsSum_data();
    void runCountIsTheRunsSum();
    void infinityIsTheContinuousColumn_data();
    void infinityIsTheContinuousColumn();
    void darkChainsCurlAndBrightOnesReach_data();
    void darkChainsCurlAndBrightOnesReach();
    void twoArrowsAreTheStraightOneAndOneForTheWholeSlit();
    void everyChainIsAsLongAsTheRuns();
    void pathsSpreadEvenlyFromTheCentre_data();
    void pathsSpreadEvenlyFromTheCentre();
    void sweepGrowsFromTwoTo2003();
    void choiceStaysInRange();
};

void TestExplore::runCountIsTheRunsSum_data()
{
    QTest::addColumn<QString>("frequency");
    QTest::addColumn<int>("distance");
    QTest::newRow("střední 350") << "0.6" << 350;
    QTest::newRow("vysoký 300") << "5" << 300;
    QTest::newRow("nízký 400") << "0.03" << 400;
    QTest::newRow("vyšší 400") << "1" << 400;
}

// N = 2003: the chain is the run's own, point for point, to the last bits of the processor's
// cosines; its squared length is the CSV's, bit for bit, at every step.
void TestExplore::runCountIsTheRunsSum()
{
    QFETCH(QString, frequency);
    QFETCH(int, distance);
    const std::string text = frequency.toStdString();
    Explorer explorer(*exploreSettingFor(text, distance));
    const std::vector<StepRow> rows = settingTable(text, distance);
    QCOMPARE(int(rows.size()), kStepCount);
    const ExploreSetting& s = explorer.setting();
    for (int step = 0; step < kStepCount; ++step) {
        explorer.choose(step, kRunPaths);
        QVERIFY2(std::bit_cast<std::uint64_t>(explorer.squaredLength()) ==
                     std::bit_cast<std::uint64_t>(rows[step].squaredLength),
                 qPrintable(QStringLiteral("step %1").arg(step)));
        QCOMPARE(explorer.runSquaredLength(step), rows[step].squaredLength);
        if (step % 20 != 0) continue;
        std::vector<Point> run;
        sumArrows(s.scene, s.wave, offsetOfStep(step), &run);
        const Chain& chain = explorer.chain();
        QCOMPARE(chain.size(), run.size());
        double worst = 0;
        for (std::size_t i = 0; i < run.size(); ++i) {
            worst =
                std::max({worst, std::abs(chain[i].x - run[i].x), std::abs(chain[i].y - run[i].y)});
        }
        QVERIFY2(worst <= 1e-8, qPrintable(QString::number(worst)));  // twips
    }
}

void TestExplore::infinityIsTheContinuousColumn_data()
{
    QTest::addColumn<QString>("frequency");
    QTest::addColumn<int>("distance");
    QTest::newRow("nízký 300") << "0.03" << 300;
    QTest::newRow("nižší 400") << "0.2" << 400;
    QTest::newRow("střední 300") << "0.6" << 300;
}

// N = infinity is the CSV's continuous column, bit for bit, and its chain ends there; at these
// lower frequencies the evenly spread chains come closer to it as N grows.
void TestExplore::infinityIsTheContinuousColumn()
{
    QFETCH(QString, frequency);
    QFETCH(int, distance);
    const std::string text = frequency.toStdString();
    Explorer explorer(*exploreSettingFor(text, distance));
    const std::vector<StepRow> rows = settingTable(text, distance);
    const double full = chainLength(explorer.setting()) * chainLength(explorer.setting());
    const auto [dark, bright] = darkestAndBrightest(explorer);
    for (int step : {0, dark, bright, 110, kLastStep}) {
        explorer.choose(step, kInfinitePaths);
        const double continuous = explorer.squaredLength();
        QVERIFY(std::bit_cast<std::uint64_t>(continuous) ==
                std::bit_cast<std::uint64_t>(rows[step].continuousSquaredLength));
        const Chain& curve = explorer.chain();
        const double ex = curve.back().x - curve.front().x, ey = curve.back().y - curve.front().y;
        QVERIFY(std::abs(ex * ex + ey * ey - continuous) <= 1e-9 * full);

        double previous = INFINITY;
        for (int paths : {10, 100, 1000}) {
            explorer.choose(step, paths);
            const double error = std::abs(explorer.squaredLength() - continuous) / full;
            QVERIFY2(
                error < previous,
                qPrintable(QStringLiteral("step %1, N = %2: %3").arg(step).arg(paths).arg(error)));
            previous = error;
        }
        QVERIFY2(previous < 1e-5, qPrintable(QString::number(previous)));
    }
}

void TestExplore::darkChainsCurlAndBrightOnesReach_data()
{
    QTest::addColumn<QString>("frequency");
    QTest::addColumn<int>("distance");
    QTest::addColumn<bool>("turnsTell");  // whether the dark chain turns more than the bright one
    QTest::newRow("nižší 400") << "0.2" << 400 << false;
    QTest::newRow("střední 300") << "0.6" << 300 << true;
    QTest::newRow("střední 400") << "0.6" << 400 << true;
    QTest::newRow("vyšší 300") << "1" << 300 << true;
    QTest::newRow("vyšší 400") << "1" << 400 << true;
    // At the highest frequency neighbouring arrows turn by up to 5 radians: every chain is a
    // tangle, bright or dark, and the turns tell nothing.
    QTest::newRow("vysoký 350") << "5" << 350 << false;
}

// At a setting's darkest step the sum is short against the chain's length, the chain curled up;
// at its brightest the sum is many times longer, and the sum arrow turns less on the way.
void TestExplore::darkChainsCurlAndBrightOnesReach()
{
    QFETCH(QString, frequency);
    QFETCH(int, distance);
    QFETCH(bool, turnsTell);
    Explorer explorer(*exploreSettingFor(frequency.toStdString(), distance));
    const double length = chainLength(explorer.setting());
    const auto [dark, bright] = darkestAndBrightest(explorer);
    explorer.choose(dark, kRunPaths);
    const Readouts darkest = readoutsOf(explorer);
    explorer.choose(bright, kRunPaths);
    const Readouts brightest = readoutsOf(explorer);
    QVERIFY2(std::sqrt(darkest.squaredLength) < 0.05 * length,
             qPrintable(QString::number(std::sqrt(darkest.squaredLength) / length)));
    QVERIFY(std::sqrt(brightest.squaredLength) > 10 * std::sqrt(darkest.squaredLength));
    QCOMPARE(brightest.shareOfHighest, 1.0);
    QVERIFY(darkest.shareOfHighest < 0.01);
    if (turnsTell) QVERIFY(darkest.turns > brightest.turns + 1);
}

// N = 2: the straight arrow (L, turned by f r_0), then one arrow as long as the run's 2002 slit
// arrows together, turned by the path through the slit's centre.
void TestExplore::twoArrowsAreTheStraightOneAndOneForTheWholeSlit()
{
    for (const char* frequency : {"0.6", "5"}) {
        Explorer explorer(*exploreSettingFor(frequency, 400));
        explorer.choose(37, 2);
        const Chain& chain = explorer.chain();
        QCOMPARE(chain.size(), std::size_t(3));
        const ExploreSetting& s = explorer.setting();
        const double dy = Scene::benchBottom - offsetOfStep(37);
        QCOMPARE(chain[0].x, s.scene.detectorX);
        QCOMPARE(chain[0].y, dy);
        const double r0 = s.scene.detectorX - Scene::screenX;
        QVERIFY(std::abs(chain[1].x - chain[0].x -
                         s.wave.arrowLength * std::cos(s.wave.waveNumber * r0)) < 1e-12);
        QVERIFY(std::abs(chain[1].y - chain[0].y -
                         s.wave.arrowLength * std::sin(s.wave.waveNumber * r0)) < 1e-12);
        const double r = std::hypot(Scene::screenX - s.scene.detectorX, Scene::axisY - dy);
        const double slit = 2002 * s.wave.arrowLength;
        QVERIFY(std::abs(chain[2].x - chain[1].x - slit * std::cos(s.wave.waveNumber * r)) < 1e-9);
        QVERIFY(std::abs(chain[2].y - chain[1].y - slit * std::sin(s.wave.waveNumber * r)) < 1e-9);
    }
}

// Whatever N, the arrows laid end to end are 2003 L long.
void TestExplore::everyChainIsAsLongAsTheRuns()
{
    Explorer explorer(*exploreSettingFor("1", 350));
    const double length = chainLength(explorer.setting());
    for (int paths : kPathChoices) {
        if (paths == kInfinitePaths) continue;
        explorer.choose(90, paths);
        const Chain& chain = explorer.chain();
        QCOMPARE(int(chain.size()), paths + 1);
        double laid = 0;
        for (std::size_t i = 1; i < chain.size(); ++i)
            laid += std::hypot(chain[i].x - chain[i - 1].x, chain[i].y - chain[i - 1].y);
        QVERIFY2(std::abs(laid - length) < 1e-9 * length, qPrintable(QString::number(paths)));
    }
}

void TestExplore::pathsSpreadEvenlyFromTheCentre_data()
{
    QTest::addColumn<int>("paths");
    QTest::addColumn<QList<double>>("heights");
    QTest::newRow("2: the centre") << 2 << QList<double>{3500};
    QTest::newRow("3: two halves") << 3 << QList<double>{3000, 4000};
    QTest::newRow("4: three thirds")
        << 4 << QList<double>{3500, 3500 - 2000.0 / 3, 3500 + 2000.0 / 3};
    QTest::newRow("5: four quarters") << 5 << QList<double>{3250, 3750, 2750, 4250};
    QTest::newRow("2002: about a twip apart")
        << 2002 << QList<double>{3500, 3500 - 2000.0 / 2001, 3500 + 2000.0 / 2001};
}

void TestExplore::pathsSpreadEvenlyFromTheCentre()
{
    QFETCH(int, paths);
    QFETCH(QList<double>, heights);
    const std::vector<double> got = slitHeightsFor(paths);
    QCOMPARE(int(got.size()), paths - 1);
    for (int i = 0; i < int(heights.size()); ++i) QVERIFY(std::abs(got[i] - heights[i]) < 1e-9);
    // Each height stands for an equal part of the slit: they all lie inside it, and their mean is
    // its centre.
    double sum = 0;
    for (double y : got) {
        QVERIFY(y > 2500 && y < 4500);
        sum += y;
    }
    QVERIFY(std::abs(sum / got.size() - 3500) < 1e-9);
}

void TestExplore::sweepGrowsFromTwoTo2003()
{
    QCOMPARE(sweptPaths(0), 2);
    QCOMPARE(sweptPaths(1), 2003);
    QCOMPARE(sweptPaths(-1), 2);
    QCOMPARE(sweptPaths(2), 2003);
    int previous = 2;
    for (int n = 1; n <= 300; ++n) {
        const int paths = sweptPaths(n / 300.0);
        QVERIFY(paths >= previous);
        previous = paths;
    }
    // As long from 2 to 63 as from 63 to 2003.
    QVERIFY(std::abs(sweptPaths(0.5) - 63) <= 1);
    // On the count slider a swept count stands at the offered count below it.
    const std::pair<int, int> stands[] = {{2, 0},    {4, 1},     {5, 2},
                                          {63, 5},   {999, 8},   {1000, 9},
                                          {2002, 9}, {2003, 10}, {kInfinitePaths, 11}};
    for (auto [paths, choice] : stands) QCOMPARE(pathChoiceOf(paths), choice);
}

void TestExplore::choiceStaysInRange()
{
    Explorer explorer(*exploreSettingFor("0.6", 350));
    explorer.choose(500, 10);
    QCOMPARE(explorer.step(), kLastStep);
    QCOMPARE(explorer.paths(), 10);
    explorer.choose(-3, 1);  // 1 is no count: the count stays
    QCOMPARE(explorer.step(), 0);
    QCOMPARE(explorer.paths(), 10);
    explorer.choose(5, 2004);
    QCOMPARE(explorer.paths(), 10);
    explorer.choose(5, kInfinitePaths);
    QCOMPARE(explorer.paths(), kInfinitePaths);
    QVERIFY(!exploreSettingFor("0.7", 350));
    QVERIFY(!exploreSettingFor("0.6", 351));
}

QTEST_APPLESS_MAIN(TestExplore)
#include "tst_explore.moc"
