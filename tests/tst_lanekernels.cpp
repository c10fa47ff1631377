// The kernels of every instruction set this processor runs give the bits of the one-at-a-time
// loops they replace: the cosines and sines, the continuous slit's quadrature and a step's sums
// with its chain. Run natively and on emulated processors without AVX-512 and without AVX2.
#include <QtTest>
#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "processorflags.h"
#include "run/continuousslit.h"
#include "run/lanekernels.h"
#include "run/portablemath.h"
#include "run/portablesums.h"

using namespace kvelmor;
using lanes::LaneSet;

Q_DECLARE_METATYPE(kvelmor::lanes::LaneSet)

namespace {

const char* const kFrequencies[] = {"5", "1", "0.6", "0.2", "0.03"};

bool sameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// The widest set this processor should run: from its flags, or from KVELMOR_EXPECTED_LANE_SET
// under an emulated processor, whose /proc/cpuinfo is still the host's.
LaneSet expectedLaneSet()
{
#ifdef KVELMOR_TEST_WIDE_LANES
    const QByteArray told = qgetenv("KVELMOR_EXPECTED_LANE_SET");
    for (LaneSet set : {LaneSet::baseline, LaneSet::avx2, LaneSet::avx512}) {
        if (told == lanes::laneSetName(set)) return set;
    }
    const std::set<std::string> flags = processorFlags();
    if (flags.count("avx512f")) return LaneSet::avx512;
    if (flags.count("avx2")) return LaneSet::avx2;
#endif
    return LaneSet::baseline;
}

// The slit's integral as the quadrature was first written: node after node, each cosine and
// sine by itself.
lanes::SlitSum scalarSlitIntegral(const lanes::SlitGeometry& slit, int panels)
{
    const double top = Scene::axisY - Scene::slitHalfHeight;
    const double width = 2 * Scene::slitHalfHeight / panels;
    lanes::SlitSum sum{0, 0};
    for (int n = 0; n < panels; ++n) {
        const double middle = top + (n + 0.5) * width;
        for (int k = 0; k < 4; ++k) {
            const double w = kGaussWeights[k] * width / 2;
            for (double side : {-1.0, 1.0}) {
                const double y = middle + side * kGaussNodes[k] * width / 2;
                const double d = y - slit.detectorY;
                const CosSin direction =
                    portableCosSin(slit.waveNumber * std::sqrt(slit.across2 + d * d));
                sum.re += w * direction.cos;
                sum.im += w * direction.sin;
            }
        }
    }
    return sum;
}

// A step's chain as the run's loop adds it up: D, then the tip after each arrow.
std::vector<Point> scalarChain(const simd::StepGeometry& step)
{
    const double across = Scene::screenX - step.detectorX;
    std::vector<Point> chain{{step.detectorX, step.detectorY}};
    auto add = [&](double r) {
        const CosSin direction = portableCosSin(r * step.waveNumber);
        chain.push_back({chain.back().x + step.arrowLength * direction.cos,
                         chain.back().y + step.arrowLength * direction.sin});
    };
    add(step.detectorX - Scene::screenX);
    for (int k = 0; k < kSlitOffsets; ++k) {
        for (double slitY : {Scene::axisY - k, Scene::axisY + k}) {
            const double d = slitY - step.detectorY;
            add(std::sqrt(across * across + d * d));
        }
    }
    return chain;
}

}  // namespace

class TestLaneKernels : public QObject {
    Q_OBJECT

private slots:
    void runsTheWidestSetTheProcessorHas();
    void cosSinsAreOneAtATime_data();
    void cosSinsAreOneAtATime();
    void slitIntegralIsNodeAfterNode_data();
    void slitIntegralIsNodeAfterNode();
    void stepSumIsArrowAfterArrow_data();
    void stepSumIsArrowAfterArrow();
};

// A processor with AVX2 runs its kernels, with AVX-512 the wider ones; the quadrature and the
// portable sums take them.
void TestLaneKernels::runsTheWidestSetTheProcessorHas()
{
    const LaneSet expected = expectedLaneSet();
    qInfo("the kernels of %s run, this processor's widest is %s",
          lanes::laneSetName(lanes::activeLaneSet()), lanes::laneSetName(expected));
    QCOMPARE(lanes::activeLaneSet(), expected);
    for (LaneSet set : {LaneSet::baseline, LaneSet::avx2, LaneSet::avx512}) {
        QVERIFY2(lanes::laneSetAvailable(set) == (set <= expected), lanes::laneSetName(set));
    }
    QCOMPARE(&lanes::activeKernels(), &lanes::kernelsOf(expected));
    if (expected != LaneSet::avx512) {
        QCOMPARE(&lanes::kernelsOf(LaneSet::avx512), &lanes::kernelsOf(LaneSet::baseline));
    }
}

// Angles of every kind, in counts that leave some over after whole vectors.
void TestLaneKernels::cosSinsAreOneAtATime_data()
{
    QTest::addColumn<LaneSet>("set");
    QTest::addColumn<int>("count");
    for (LaneSet set : {LaneSet::baseline, LaneSet::avx2, LaneSet::avx512}) {
        for (int count : {1, 3, 7, 9, 17, 4099}) {
            QTest::addRow("%s, %d", lanes::laneSetName(set), count) << set << count;
        }
    }
}

void TestLaneKernels::cosSinsAreOneAtATime()
{
    QFETCH(LaneSet, set);
    QFETCH(int, count);
    if (!lanes::laneSetAvailable(set)) QSKIP("this build or processor lacks the set");
    std::vector<double> angles{-0.0,         1e-310,   0x1p50,    -0x1p50, 0x1.0000000000001p50,
                               std::nan(""), INFINITY, -INFINITY, 1e300,   0.7853981633974483,
                               29154.9,      -7.85,    0,         3.14159, -1e6};
    std::mt19937_64 random(count);
    std::uniform_real_distribution<double> anywhere(-40000, 40000);
    while (int(angles.size()) < count) angles.push_back(anywhere(random));
    angles.resize(count);
    std::vector<double> cosines(count), sines(count);
    lanes::kernelsOf(set).cosSins(angles.data(), cosines.data(), sines.data(), count);
    for (int i = 0; i < count; ++i) {
        const CosSin one = portableCosSin(angles[i]);
        QVERIFY2(sameBits(one.cos, cosines[i]) && sameBits(one.sin, sines[i]),
                 qPrintable(QString::number(angles[i], 'g', 17)));
    }
}

// Panel counts of the refinement and others, whole blocks of panels and not; the settings' waves
// and detector lines, steps at the bottom, the middle and the top.
void TestLaneKernels::slitIntegralIsNodeAfterNode_data()
{
    QTest::addColumn<LaneSet>("set");
    QTest::addColumn<int>("panels");
    for (LaneSet set : {LaneSet::baseline, LaneSet::avx2, LaneSet::avx512}) {
        for (int panels : {1, 3, 100, 256, 2048}) {
            QTest::addRow("%s, %d panels", lanes::laneSetName(set), panels) << set << panels;
        }
    }
}

void TestLaneKernels::slitIntegralIsNodeAfterNode()
{
    QFETCH(LaneSet, set);
    QFETCH(int, panels);
    if (!lanes::laneSetAvailable(set)) QSKIP("this build or processor lacks the set");
    for (const char* frequency : kFrequencies) {
        const Wave wave = *waveForFrequency(frequency);
        for (double distance : {300, 350, 400}) {
            const double across = Scene::screenX - Scene::forDistance(distance).detectorX;
            for (double j : {500, 3025, 6000}) {
                const lanes::SlitGeometry slit{wave.waveNumber, Scene::benchBottom - j,
                                               across * across};
                const lanes::SlitSum lanesSum = lanes::kernelsOf(set).slitIntegral(slit, panels);
                const lanes::SlitSum scalar = scalarSlitIntegral(slit, panels);
                QVERIFY2(sameBits(lanesSum.re, scalar.re) && sameBits(lanesSum.im, scalar.im),
                         qPrintable(
                             QStringLiteral("f=%1 d=%2 j=%3").arg(frequency).arg(distance).arg(j)));
            }
        }
    }
    if (panels == 256) {
        const Wave wave = *waveForFrequency("5");
        const Scene scene = Scene::forDistance(300);
        const ContinuousSum active = continuousSquaredLength(scene, wave, 3025);
        const ContinuousSum bySet = continuousSquaredLengthBy(set, scene, wave, 3025);
        QVERIFY(sameBits(active.squaredLength, bySet.squaredLength));
        QCOMPARE(bySet.panels, active.panels);
    }
}

void TestLaneKernels::stepSumIsArrowAfterArrow_data()
{
    QTest::addColumn<LaneSet>("set");
    for (LaneSet set : {LaneSet::baseline, LaneSet::avx2, LaneSet::avx512}) {
        QTest::addRow("%s", lanes::laneSetName(set)) << set;
    }
}

// With a chain every point of it, and without one the tips: bit for bit the running sums of the
// arrows in the run's order. The worksheet's sums and SumPath::portable are these.
void TestLaneKernels::stepSumIsArrowAfterArrow()
{
    QFETCH(LaneSet, set);
    if (!lanes::laneSetAvailable(set)) QSKIP("this build or processor lacks the set");
    for (const char* frequency : kFrequencies) {
        const Wave wave = *waveForFrequency(frequency);
        for (double distance : {300, 350, 400}) {
            const Scene scene = Scene::forDistance(distance);
            for (double j : {500, 1000, 3025, 6000}) {
                const simd::StepGeometry step{wave.arrowLength, wave.waveNumber, scene.detectorX,
                                              Scene::benchBottom - j};
                const std::vector<Point> expected = scalarChain(step);
                QCOMPARE(int(expected.size()), kChainPoints);
                std::vector<Point> chain(kChainPoints);
                const simd::StepTips withChain = lanes::kernelsOf(set).stepSum(step, chain.data());
                const simd::StepTips tips = lanes::kernelsOf(set).stepSum(step, nullptr);
                const QString where =
                    QStringLiteral("f=%1 d=%2 j=%3").arg(frequency).arg(distance).arg(j);
                for (int i = 0; i < kChainPoints; ++i) {
                    QVERIFY2(
                        sameBits(chain[i].x, expected[i].x) && sameBits(chain[i].y, expected[i].y),
                        qPrintable(where + QStringLiteral(" point %1").arg(i)));
                }
                for (const simd::StepTips& t : {withChain, tips}) {
                    QVERIFY2(sameBits(t.straightTip.x, expected[1].x) &&
                                 sameBits(t.straightTip.y, expected[1].y) &&
                                 sameBits(t.tip.x, expected.back().x) &&
                                 sameBits(t.tip.y, expected.back().y),
                             qPrintable(where));
                }
                const StepSum worksheet = portableStepSum(scene, wave, j);
                QVERIFY(sameBits(worksheet.tip.x, expected.back().x) &&
                        sameBits(worksheet.tip.y, expected.back().y));
            }
        }
    }
}

QTEST_APPLESS_MAIN(TestLaneKernels)
#include "tst_lanekernels.moc"
