// The browser page's waits between detector steps, on a clock the test drives: how long they
// last and how often they hand control to the browser.
#include <QtTest>
#include <vector>

#ifndef Q_MOC_RUN  // moc cannot read the Czech identifiers of these headers, nor needs them
#include "run/experiment.h"
#include "web/pacer.h"
#endif

using namespace kvelmor;
using namespace std::chrono_literals;

namespace {

constexpr int kSteps = (kLastOffset - kFirstOffset) / kOffsetStep + 1;

// A run of 221 steps, each computing for `work`, with the clock moving only by that work, by
// sleeps and by a little for every look at it.
struct PacedRun {
    Pacer::Duration clock{};
    std::vector<std::chrono::milliseconds> sleeps;

    void run(double count, Pacer::Duration work)
    {
        Pacer pacer([this] { return clock += 1us; },
                    [this](std::chrono::milliseconds ms) {
                        sleeps.push_back(ms);
                        clock += std::max<Pacer::Duration>(ms, 1ms);  // a timer tick at least
                    });
        pacer.begin();
        for (int step = 0; step < kSteps; ++step) {
            pacer.pace(count);
            clock += work;
        }
    }
};

}  // namespace

class TestPacer : public QObject {
    Q_OBJECT

private slots:
    void fastestRunYieldsOnceAFrame();
    void slowestRunTakesTheDesktopsTime();
    void midwayCountsSleepWithoutSpinningLong();
};

// Count 1 is no wait at all: the browser gets control about once a frame (16 ms), not once a
// step, so a run computing 0.2 ms a step yields a couple of times, not 221.
void TestPacer::fastestRunYieldsOnceAFrame()
{
    PacedRun r;
    r.run(1, 200us);
    const int expected = int(kSteps * 200us / Pacer::kFrame);
    QVERIFY2(int(r.sleeps.size()) >= expected - 1 && int(r.sleeps.size()) <= expected + 1,
             qPrintable(QString::number(r.sleeps.size())));
    for (auto s : r.sleeps) QCOMPARE(s, 0ms);
    QVERIFY(r.clock < 60ms);

    PacedRun slowSteps;  // steps longer than a frame: one yield after each
    slowSteps.run(1, 20ms);
    QCOMPARE(int(slowSteps.sleeps.size()), kSteps - 1);
}

// At the scroll bar's right end (count 983011) every step waits about 49 ms, asleep, so the run
// lasts the desktop's eleven seconds.
void TestPacer::slowestRunTakesTheDesktopsTime()
{
    PacedRun r;
    r.run(983011, 100us);
    const auto total = std::chrono::duration<double>(r.clock).count();
    const double desktop = std::chrono::duration<double>(paceDuration(983011) * kSteps).count();
    QVERIFY2(std::abs(total - desktop) < 0.02 * desktop,
             qPrintable(QStringLiteral("%1 s against %2 s").arg(total).arg(desktop)));
    QVERIFY(int(r.sleeps.size()) >= kSteps);
    QVERIFY(r.sleeps.front() >= 45ms);
}

// A count that waits 4.5 ms a step sleeps it rather than spinning it; a wait shorter than the
// shortest sleep is spun, not slept.
void TestPacer::midwayCountsSleepWithoutSpinningLong()
{
    PacedRun r;
    r.run(90001, 0us);  // 4.5 ms a step
    QVERIFY(int(r.sleeps.size()) >= kSteps);
    QCOMPARE(r.sleeps.front(), 4ms);

    PacedRun shortWaits;
    shortWaits.run(30001, 0us);  // 1.5 ms a step, 330 ms a run: yields once a frame only
    for (auto s : shortWaits.sleeps) QCOMPARE(s, 0ms);
    const auto total = std::chrono::duration<double>(shortWaits.clock).count();
    QVERIFY2(total >= 0.33 && total < 0.36, qPrintable(QString::number(total)));
}

QTEST_APPLESS_MAIN(TestPacer)
#include "tst_pacer.moc"
