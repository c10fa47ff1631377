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

Q_DECLARE_METATYPE(std::chrono::nanoseconds)

namespace {

constexpr int kSteps = (kLastOffset - kFirstOffset) / kOffsetStep + 1;

// A run of 221 steps, each computing for `work`, with the clock moving only by that work, by
// sleeps and by a little for every look at it; read in steps of `tick`, as a browser's clock is.
struct PacedRun {
    Pacer::Duration clock{};
    Pacer::Duration tick = 1ns;
    std::vector<std::chrono::milliseconds> sleeps;

    void run(double count, Pacer::Duration work)
    {
        Pacer pacer([this] { return (clock += 1us) / tick * tick; },
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
    void coarseClockSpinsNoWaitItCannotTime_data();
    void coarseClockSpinsNoWaitItCannotTime();
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

void TestPacer::coarseClockSpinsNoWaitItCannotTime_data()
{
    QTest::addColumn<double>("count");
    QTest::addColumn<Pacer::Duration>("work");
    QTest::addColumn<Pacer::Duration>("tick");
    QTest::addRow("count 1, 0.1 ms clock") << 1.0 << Pacer::Duration(20us) << Pacer::Duration(100us);
    QTest::addRow("count 1, 1 ms clock") << 1.0 << Pacer::Duration(20us) << Pacer::Duration(1ms);
    QTest::addRow("count 31, 0.1 ms clock") << 31.0 << Pacer::Duration(0us) << Pacer::Duration(100us);
    QTest::addRow("count 3001, 0.1 ms clock")
        << 3001.0 << Pacer::Duration(0us) << Pacer::Duration(100us);
    QTest::addRow("count 3001, 5 us clock") << 3001.0 << Pacer::Duration(0us) << Pacer::Duration(5us);
}

// On a clock that moves in steps of 0.1 ms or 1 ms, waits shorter than a step are not each spun
// until the clock's next step (which would add up to 0.1 ms to every step of the fastest run):
// the run lasts its work and its waits, give or take a millisecond, and a step of the clock for
// each millisecond of waiting.
void TestPacer::coarseClockSpinsNoWaitItCannotTime()
{
    QFETCH(double, count);
    QFETCH(Pacer::Duration, work);
    QFETCH(Pacer::Duration, tick);
    PacedRun r;
    r.tick = tick;
    r.run(count, work);
    const Pacer::Duration waits = paceDuration(count) * kSteps;
    const Pacer::Duration least = kSteps * work + waits - 1ms;
    const Pacer::Duration most = kSteps * work + waits + 2ms + waits / 1ms * tick;
    QVERIFY2(r.clock >= least && r.clock <= most,
             qPrintable(QStringLiteral("%1 us, not %2 to %3 us")
                            .arg(r.clock / 1us)
                            .arg(least / 1us)
                            .arg(most / 1us)));
}

QTEST_APPLESS_MAIN(TestPacer)
#include "tst_pacer.moc"
