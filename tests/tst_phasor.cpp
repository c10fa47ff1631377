// The arithmetic of one detector step, checked against sums computed another way and against the
// sizes a teacher sees on the screen.
#include <QtTest>
#include <cmath>
#include <complex>
#include <set>
#include <string>

#include "independentsum.h"
#include "processorflags.h"
#include "run/numbertext.h"
#include "run/phasor.h"

using namespace kvelmor;

Q_DECLARE_METATYPE(kvelmor::SumPath)

namespace {

const char* const kFrequencies[] = {"5", "1", "0.6", "0.2", "0.03"};
const double kDistances[] = {300, 350, 400};
// The paths whose cosines and sines are not libm's: glibc's vector functions and the program's own.
const SumPath kVectorPaths[] = {SumPath::avx2, SumPath::avx512, SumPath::portable};

// The same squared length as a complex sum in long double, slit points taken from the edges
// inwards and the straight arrow last: L^2 |sum exp(i f r)|^2.
long double independentSquaredLength(double distance, Wave w, int j)
{
    const long double detectorX = -1500.0L + 20.0L * distance;
    const long double dy = 7500.0L - j;
    const long double across = 3500.0L - detectorX;
    std::complex<long double> sum = 0;
    for (int k = 1000; k >= 0; --k) {
        for (long double slitY : {3500.0L + k, 3500.0L - k}) {
            const long double r = std::hypot(across, slitY - dy);
            sum += std::polar(1.0L, r * static_cast<long double>(w.waveNumber));
        }
    }
    sum += std::polar(1.0L, (detectorX - 3500.0L) * static_cast<long double>(w.waveNumber));
    return static_cast<long double>(w.arrowLength) * w.arrowLength * std::norm(sum);
}

// The widest path this processor should take, found apart from the program's own check: from the
// flags the kernel lists in /proc/cpuinfo, or from KVELMOR_EXPECTED_SUM_PATH under an emulated
// processor, whose /proc/cpuinfo is still the host's.
SumPath expectedSumPath()
{
#ifdef KVELMOR_TEST_VECTOR_SUMS
    const QByteArray told = qgetenv("KVELMOR_EXPECTED_SUM_PATH");
    for (SumPath path : {SumPath::scalar, SumPath::avx2, SumPath::avx512}) {
        if (told == sumPathName(path)) return path;
    }
    const std::set<std::string> flags = processorFlags();
    if (flags.count("fma") && flags.count("avx512f")) return SumPath::avx512;
    if (flags.count("fma") && flags.count("avx2")) return SumPath::avx2;
    return SumPath::scalar;
#else
    return SumPath::portable;  // a build without glibc's vector functions
#endif
}

double longestBar(double distance, const char* frequency)
{
    return independent::longestBarTwips(frequency, int(distance));
}

}  // namespace

class TestPhasor : public QObject {
    Q_OBJECT

private slots:
    void choosesWaveAndScaleFromTheBoxTexts();
    void agreesWithAnIndependentSum_data();
    void agreesWithAnIndependentSum();
    void patternIsSymmetricAboutTheSlitCentre();
    void longestBarsFitTheWindow_data();
    void longestBarsFitTheWindow();
    void chainStartsAtTheDetectorAndEndsAtTheTip();
    void lowFrequencyChainIsShort();
    void vectorSumsAgreeWithTheScalarLoop_data();
    void vectorSumsAgreeWithTheScalarLoop();
    void vectorChainsAreTheRunningSums_data();
    void vectorChainsAreTheRunningSums();
    void runsTheVectorSumsWhereTheProcessorHasThem();
};

void TestPhasor::choosesWaveAndScaleFromTheBoxTexts()
{
    struct Row {
        double frequency, L, f;
    };
    for (Row row : {Row{5, 10, 5}, Row{1, 1.5, 0.1}, Row{0.6, 1, 0.05}, Row{0.2, 0.4, 0.01},
                    Row{0.03, 0.18, 0.0015}}) {
        const auto wave = waveForFrequency(numberText(row.frequency));
        QVERIFY(wave.has_value());
        QCOMPARE(wave->arrowLength, row.L);
        QCOMPARE(wave->waveNumber, row.f);
    }
    QVERIFY(!waveForFrequency("Fi").has_value());
    QVERIFY(!waveForFrequency("0,6").has_value());

    QCOMPARE(barScaleForDistance("300").value(), 0.017);
    QCOMPARE(barScaleForDistance("350").value(), 0.009);
    QCOMPARE(barScaleForDistance("400").value(), 0.006);
    QVERIFY(!barScaleForDistance("Rozteč").has_value());

    QCOMPARE(Scene::forDistance(300).detectorX, 4500.0);
    QCOMPARE(Scene::forDistance(350).detectorX, 5500.0);
    QCOMPARE(Scene::forDistance(400).detectorX, 6500.0);
}

void TestPhasor::agreesWithAnIndependentSum_data()
{
    QTest::addColumn<QString>("frequency");
    QTest::addColumn<double>("distance");
    QTest::addColumn<int>("j");
    for (const char* f : kFrequencies) {
        for (double d : kDistances) {
            for (int j : {500, 2975, 4000, 6000}) {
                QTest::addRow("f=%s d=%g j=%d", f, d, j) << QString::fromLatin1(f) << d << j;
            }
        }
    }
}

void TestPhasor::agreesWithAnIndependentSum()
{
    QFETCH(QString, frequency);
    QFETCH(double, distance);
    QFETCH(int, j);
    const Wave wave = *waveForFrequency(frequency.toStdString());
    const long double expected = independentSquaredLength(distance, wave, j);
    const double full = std::pow(kArrowsPerStep * wave.arrowLength, 2);  // all arrows aligned
    const double r0 = Scene::forDistance(distance).detectorX - Scene::screenX;
    // The scalar loop, which every processor can run, and the path this one takes.
    for (SumPath path : {SumPath::scalar, activeSumPath()}) {
        const StepSum sum = sumArrowsBy(path, Scene::forDistance(distance), wave, j);
        QVERIFY2(std::abs(sum.squaredLength - static_cast<double>(expected)) <= 1e-9 * full,
                 qPrintable(QStringLiteral("%1: %2 vs %3")
                                .arg(sumPathName(path))
                                .arg(sum.squaredLength)
                                .arg(static_cast<double>(expected))));

        // The straight arrow leaves D along the angle of the horizontal distance.
        QCOMPARE(sum.straightTip.x, Scene::forDistance(distance).detectorX +
                                        wave.arrowLength * std::cos(r0 * wave.waveNumber));
        QCOMPARE(sum.straightTip.y, 7500.0 - j + wave.arrowLength * std::sin(r0 * wave.waveNumber));
    }
}

// Mirroring the detector point about the slit centre swaps upper and lower paths, so the bar at
// 3500 + m and at 3500 - m must be the same (up to the order of summation).
void TestPhasor::patternIsSymmetricAboutTheSlitCentre()
{
    for (const char* f : kFrequencies) {
        const Wave wave = *waveForFrequency(f);
        const Scene scene = Scene::forDistance(350);
        const double full = std::pow(kArrowsPerStep * wave.arrowLength, 2);
        for (int m = 25; m <= 2000; m += 325) {
            const double below = sumArrows(scene, wave, 4000 - m).squaredLength;
            const double above = sumArrows(scene, wave, 4000 + m).squaredLength;
            QVERIFY2(std::abs(below - above) <= 1e-9 * full, f);
        }
    }
}

void TestPhasor::longestBarsFitTheWindow_data()
{
    QTest::addColumn<double>("distance");
    QTest::addColumn<double>("expected");
    QTest::newRow("300") << 300.0 << 3502.1;
    QTest::newRow("350") << 350.0 << 3583.6;
    QTest::newRow("400") << 400.0 << 3755.5;
}

// "vyšší" gives the longest bar at every distance; no bar reaches the window's right edge.
void TestPhasor::longestBarsFitTheWindow()
{
    QFETCH(double, distance);
    QFETCH(double, expected);
    const double vyssi = longestBar(distance, "1");
    QVERIFY2(std::abs(vyssi - expected) < 0.1, qPrintable(QString::number(vyssi, 'f', 3)));
    for (const char* f : kFrequencies) {
        QVERIFY2(longestBar(distance, f) <= vyssi, f);
        QVERIFY(Scene::probabilityX + longestBar(distance, f) < 11256);
    }
}

void TestPhasor::chainStartsAtTheDetectorAndEndsAtTheTip()
{
    const Wave wave = *waveForFrequency("0.6");
    const Scene scene = Scene::forDistance(350);
    std::vector<Point> chain;
    const StepSum sum = sumArrows(scene, wave, 3000, &chain);
    QCOMPARE(int(chain.size()), kArrowsPerStep + 1);
    QCOMPARE(chain.front().x, 5500.0);
    QCOMPARE(chain.front().y, 4500.0);
    QCOMPARE(chain[1].x, sum.straightTip.x);
    QCOMPARE(chain[1].y, sum.straightTip.y);
    QCOMPARE(chain.back().x, sum.tip.x);
    QCOMPARE(chain.back().y, sum.tip.y);
    for (std::size_t i = 1; i < chain.size(); ++i) {
        const double len = std::hypot(chain[i].x - chain[i - 1].x, chain[i].y - chain[i - 1].y);
        QVERIFY(std::abs(len - 1.0) < 1e-9);
    }
    // Recording the chain changes nothing of the sum.
    QCOMPARE(sumArrows(scene, wave, 3000).squaredLength, sum.squaredLength);
}

void TestPhasor::lowFrequencyChainIsShort()
{
    const Wave wave = *waveForFrequency(numberText(0.03));
    std::vector<Point> chain;
    for (double d : kDistances) {
        for (int j = 500; j <= 6000; j += 500) {
            sumArrows(Scene::forDistance(d), wave, j, &chain);
            double reach = 0;
            for (const Point& p : chain) {
                reach = std::max(reach, std::hypot(p.x - chain[0].x, p.y - chain[0].y));
            }
            QVERIFY2(reach <= 2003 * 0.18 + 1e-6, qPrintable(QString::number(reach)));
            QVERIFY(reach > 100);  // the arrows mostly agree at this frequency: a long, open chain
        }
    }
}

void TestPhasor::vectorSumsAgreeWithTheScalarLoop_data()
{
    QTest::addColumn<SumPath>("path");
    QTest::addColumn<QString>("frequency");
    QTest::addColumn<double>("distance");
    for (SumPath path : kVectorPaths) {
        for (const char* f : kFrequencies) {
            for (double d : kDistances) {
                QTest::addRow("%s f=%s d=%g", sumPathName(path), f, d)
                    << path << QString::fromLatin1(f) << d;
            }
        }
    }
}

// All 221 steps of a setting, each relative to its own size: the squared length, and the tip
// against the length of the sum arrow (the darkest steps have sums of about a sixth of an arrow).
void TestPhasor::vectorSumsAgreeWithTheScalarLoop()
{
    QFETCH(SumPath, path);
    QFETCH(QString, frequency);
    QFETCH(double, distance);
    if (!sumPathAvailable(path)) QSKIP("this build or processor lacks the path");
    const Wave wave = *waveForFrequency(frequency.toStdString());
    const Scene scene = Scene::forDistance(distance);
    for (int j = 500; j <= 6000; j += 25) {
        const StepSum scalar = sumArrowsBy(SumPath::scalar, scene, wave, j);
        const StepSum vector = sumArrowsBy(path, scene, wave, j);
        const QString where = QStringLiteral("j=%1: %2 vs %3")
                                  .arg(j)
                                  .arg(vector.squaredLength, 0, 'g', 17)
                                  .arg(scalar.squaredLength, 0, 'g', 17);
        QVERIFY2(
            std::abs(vector.squaredLength - scalar.squaredLength) <= 1e-9 * scalar.squaredLength,
            qPrintable(where));
        const double sumLength = std::sqrt(scalar.squaredLength);
        QVERIFY2(std::hypot(vector.tip.x - scalar.tip.x, vector.tip.y - scalar.tip.y) <=
                     1e-9 * sumLength,
                 qPrintable(where));
        QVERIFY2(
            std::hypot(vector.straightTip.x - scalar.straightTip.x,
                       vector.straightTip.y - scalar.straightTip.y) <= 1e-12 * wave.arrowLength,
            qPrintable(where));
    }
}

void TestPhasor::vectorChainsAreTheRunningSums_data()
{
    QTest::addColumn<SumPath>("path");
    QTest::addColumn<QString>("frequency");
    for (SumPath path : kVectorPaths) {
        for (const char* f : kFrequencies) {
            QTest::addRow("%s f=%s", sumPathName(path), f) << path << QString::fromLatin1(f);
        }
    }
}

// At the twelve chain steps the chain is D, then the tip after each arrow in the run's order
// (straight arrow, then the upper and lower path of k = 0, 1, ..., 1000), ending at the tip.
void TestPhasor::vectorChainsAreTheRunningSums()
{
    QFETCH(SumPath, path);
    QFETCH(QString, frequency);
    if (!sumPathAvailable(path)) QSKIP("this build or processor lacks the path");
    const Wave wave = *waveForFrequency(frequency.toStdString());
    const double L = wave.arrowLength;
    const double f = wave.waveNumber;
    for (double distance : kDistances) {
        const Scene scene = Scene::forDistance(distance);
        const double across = Scene::screenX - scene.detectorX;
        for (int j = 500; j <= 6000; j += 500) {
            const double dy = 7500 - j;
            std::vector<Point> scalarChain;
            std::vector<Point> chain;
            sumArrowsBy(SumPath::scalar, scene, wave, j, &scalarChain);
            const StepSum sum = sumArrowsBy(path, scene, wave, j, &chain);
            QCOMPARE(int(chain.size()), kArrowsPerStep + 1);
            QVERIFY(chain.front().x == scene.detectorX && chain.front().y == dy);
            QVERIFY(chain.back().x == sum.tip.x && chain.back().y == sum.tip.y);
            QVERIFY(chain[1].x == sum.straightTip.x && chain[1].y == sum.straightTip.y);

            std::vector<double> angles{-across * f};
            for (int k = 0; k <= 1000; ++k) {
                angles.push_back(std::hypot(across, (3500.0 - k) - dy) * f);
                angles.push_back(std::hypot(across, (3500.0 + k) - dy) * f);
            }
            for (std::size_t n = 0; n < angles.size(); ++n) {
                const double ax = chain[n + 1].x - chain[n].x;
                const double ay = chain[n + 1].y - chain[n].y;
                QVERIFY2(
                    std::hypot(ax - L * std::cos(angles[n]), ay - L * std::sin(angles[n])) <=
                        1e-9 * L,
                    qPrintable(QStringLiteral("d=%1 j=%2 arrow %3").arg(distance).arg(j).arg(n)));
                QVERIFY2(
                    std::hypot(chain[n + 1].x - scalarChain[n + 1].x,
                               chain[n + 1].y - scalarChain[n + 1].y) <= 1e-9 * kArrowsPerStep * L,
                    qPrintable(QStringLiteral("d=%1 j=%2 point %3").arg(distance).arg(j).arg(n)));
            }
        }
    }
}

// A processor with AVX2 and FMA runs a vector path, AVX-512 the wider one; sumArrows is that path.
// Run natively and under emulated processors without AVX-512 and without AVX2.
void TestPhasor::runsTheVectorSumsWhereTheProcessorHasThem()
{
    const SumPath active = activeSumPath();
    const SumPath expected = expectedSumPath();
    qInfo("sumArrows takes the %s path, this processor's is %s", sumPathName(active),
          sumPathName(expected));
    QCOMPARE(active, expected);
    for (SumPath path : {SumPath::scalar, SumPath::avx2, SumPath::avx512}) {
        const bool runs =
            expected == SumPath::portable ? path == SumPath::scalar : path <= expected;
        QVERIFY2(sumPathAvailable(path) == runs, sumPathName(path));
    }
    QVERIFY(sumPathAvailable(SumPath::portable));

    const Wave wave = *waveForFrequency("1");
    const Scene scene = Scene::forDistance(400);
    std::vector<Point> chain;
    std::vector<Point> activeChain;
    for (int j : {500, 3025, 6000}) {
        const StepSum viaDispatch = sumArrows(scene, wave, j, &chain);
        const StepSum direct = sumArrowsBy(active, scene, wave, j, &activeChain);
        QVERIFY(viaDispatch.squaredLength == direct.squaredLength);
        QVERIFY(chain.size() == activeChain.size());
        QVERIFY(std::equal(chain.begin(), chain.end(), activeChain.begin(),
                           [](Point a, Point b) { return a.x == b.x && a.y == b.y; }));
    }
}

QTEST_APPLESS_MAIN(TestPhasor)
#include "tst_phasor.moc"
