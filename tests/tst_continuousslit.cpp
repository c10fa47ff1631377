// The continuous slit's refinement: it settles for every setting well within its bound, and a
// quadrature that cannot settle stops at the bound and says so.
#include <QtTest>
#include <cmath>

#include "run/continuousslit.h"

using namespace kvelmor;

class TestContinuousSlit : public QObject {
    Q_OBJECT

private slots:
    void settlesForEverySetting();
    void stopsAtTheBoundAndSaysSo();
};

void TestContinuousSlit::settlesForEverySetting()
{
    for (const char* frequency : {"0.03", "0.2", "0.6", "1", "5"}) {
        const Wave wave = *waveForFrequency(frequency);
        for (int distance : {300, 350, 400}) {
            for (int j = 500; j <= 6000; j += 25) {
                const ContinuousSum sum =
                    continuousSquaredLength(Scene::forDistance(distance), wave, j);
                QVERIFY2(sum.settled && sum.panels <= kMostSlitPanels / 4,
                         qPrintable(QStringLiteral("%1/%2 j=%3: %4 panels")
                                        .arg(frequency)
                                        .arg(distance)
                                        .arg(j)
                                        .arg(sum.panels)));
            }
        }
    }
}

// A tolerance below zero is never met: the refinement ends at the bound with the finest value,
// which is the settled one to far better than the export's tolerance.
void TestContinuousSlit::stopsAtTheBoundAndSaysSo()
{
    const Wave wave = *waveForFrequency("5");
    const Scene scene = Scene::forDistance(300);
    const ContinuousSum settled = continuousSquaredLength(scene, wave, 3025);
    const ContinuousSum bounded = continuousSquaredLength(scene, wave, 3025, -1);
    QVERIFY(!bounded.settled);
    QCOMPARE(bounded.panels, kMostSlitPanels);
    QVERIFY(std::abs(bounded.squaredLength - settled.squaredLength) <=
            1e-10 * std::pow(kArrowsPerStep * wave.arrowLength, 2));
}

QTEST_APPLESS_MAIN(TestContinuousSlit)
#include "tst_continuousslit.moc"
