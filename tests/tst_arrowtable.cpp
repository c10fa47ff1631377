// The portable path's run steps come from a table of arrows made once a run: they must be the
// bits the lane kernel's own step computation gives, chain and all.
#include <QtTest>
#include <cstring>
#include <thread>

#include "run/lanekernels.h"
#include "run/phasor.h"
#ifndef Q_MOC_RUN  // moc cannot read the Czech identifiers of this header, nor needs them
#include "run/experiment.h"
#endif

using namespace kvelmor;

namespace {

const char* const kFrequencies[] = {"5", "1", "0.6", "0.2", "0.03"};
const double kDistances[] = {300, 350, 400};

bool sameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// The step as the kernel computes it on its own, every arrow's cosine and sine anew.
StepSum kernelStep(const Scene& scene, const Wave& wave, double j, std::vector<Point>* chain)
{
    const double dy = Scene::benchBottom - j;
    chain->resize(kChainPoints);
    const simd::StepTips tips = lanes::activeKernels().stepSum(
        {wave.arrowLength, wave.waveNumber, scene.detectorX, dy}, chain->data());
    const double ex = tips.tip.x - scene.detectorX;
    const double ey = tips.tip.y - dy;
    return {tips.straightTip, tips.tip, ex * ex + ey * ey};
}

// Empty when the portable path's step is the kernel's bit for bit, else where it is not.
QString differenceAt(const Scene& scene, const Wave& wave, double j, bool withChain)
{
    std::vector<Point> expectedChain;
    const StepSum expected = kernelStep(scene, wave, j, &expectedChain);
    std::vector<Point> chain;
    const StepSum sum = sumArrowsBy(SumPath::portable, scene, wave, j, withChain ? &chain : nullptr);
    const QString where = QStringLiteral("L=%1 f=%2 x=%3 j=%4")
                              .arg(wave.arrowLength)
                              .arg(wave.waveNumber)
                              .arg(scene.detectorX)
                              .arg(j);
    if (!sameBits(sum.tip.x, expected.tip.x) || !sameBits(sum.tip.y, expected.tip.y) ||
        !sameBits(sum.straightTip.x, expected.straightTip.x) ||
        !sameBits(sum.straightTip.y, expected.straightTip.y) ||
        !sameBits(sum.squaredLength, expected.squaredLength))
        return where + QStringLiteral(": tips");
    if (!withChain) return {};
    if (chain.size() != expectedChain.size()) return where + QStringLiteral(": chain size");
    for (std::size_t i = 0; i < chain.size(); ++i) {
        if (!sameBits(chain[i].x, expectedChain[i].x) || !sameBits(chain[i].y, expectedChain[i].y))
            return where + QStringLiteral(": chain point %1").arg(i);
    }
    return {};
}

}  // namespace

class TestArrowTable : public QObject {
    Q_OBJECT

private slots:
    void runStepsAreTheKernelsBits_data();
    void runStepsAreTheKernelsBits();
    void stepsOffTheTableAreTheKernelsBits();
    void eachThreadKeepsItsOwnTable();
};

void TestArrowTable::runStepsAreTheKernelsBits_data()
{
    QTest::addColumn<QString>("frequency");
    QTest::addColumn<double>("distance");
    for (const char* f : kFrequencies) {
        for (double d : kDistances) QTest::addRow("f=%s d=%g", f, d) << QString::fromLatin1(f) << d;
    }
}

// Every step of a run in the run's order, with its chain and without; a step of another setting
// in between, whose table replaces the run's, and the run going on with its own again.
void TestArrowTable::runStepsAreTheKernelsBits()
{
    QFETCH(QString, frequency);
    QFETCH(double, distance);
    const Wave wave = *waveForFrequency(frequency.toStdString());
    const Scene scene = Scene::forDistance(distance);
    const Wave other = *waveForFrequency(frequency == "1" ? "5" : "1");
    const Scene otherScene = Scene::forDistance(distance == 300 ? 400 : 300);
    for (int j = kFirstOffset; j <= kLastOffset; j += kOffsetStep) {
        for (bool withChain : {true, false}) {
            const QString difference = differenceAt(scene, wave, j, withChain);
            QVERIFY2(difference.isEmpty(), qPrintable(difference));
        }
        if (j % 1000 == 0) {
            QString difference = differenceAt(scene, other, j, false);
            QVERIFY2(difference.isEmpty(), qPrintable(difference));
            difference = differenceAt(otherScene, wave, j, false);
            QVERIFY2(difference.isEmpty(), qPrintable(difference));
        }
    }
}

// Detector points between whole twips, and so far below or above the slit that the table does
// not reach them, are summed all the same, between steps that the table serves.
void TestArrowTable::stepsOffTheTableAreTheKernelsBits()
{
    const Wave wave = *waveForFrequency("0.6");
    const Scene scene = Scene::forDistance(350);
    for (double j : {3025.0, 3025.5, 3050.0, 500.25, -3000.0, 6000.0, 9500.0, -0.0, 500.0}) {
        const QString difference = differenceAt(scene, wave, j, true);
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
    }
}

// Runs of two settings at once on two threads, step for step, each getting its own setting's sums.
void TestArrowTable::eachThreadKeepsItsOwnTable()
{
    struct Run {
        Wave wave;
        Scene scene;
        std::vector<StepSum> expected;
        int wrong = 0;
    };
    Run runs[2] = {{*waveForFrequency("5"), Scene::forDistance(300), {}},
                   {*waveForFrequency("0.03"), Scene::forDistance(400), {}}};
    std::vector<Point> chain;
    for (Run& run : runs) {
        for (int j = kFirstOffset; j <= kLastOffset; j += kOffsetStep)
            run.expected.push_back(kernelStep(run.scene, run.wave, j, &chain));
    }
    auto walk = [](Run* run) {
        for (int repeat = 0; repeat < 50; ++repeat) {
            int step = 0;
            for (int j = kFirstOffset; j <= kLastOffset; j += kOffsetStep, ++step) {
                const StepSum sum = sumArrowsBy(SumPath::portable, run->scene, run->wave, j);
                if (!sameBits(sum.squaredLength, run->expected[step].squaredLength)) ++run->wrong;
            }
        }
    };
    std::thread first(walk, &runs[0]);
    std::thread second(walk, &runs[1]);
    first.join();
    second.join();
    QCOMPARE(runs[0].wrong, 0);
    QCOMPARE(runs[1].wrong, 0);
}

QTEST_APPLESS_MAIN(TestArrowTable)
#include "tst_arrowtable.moc"
