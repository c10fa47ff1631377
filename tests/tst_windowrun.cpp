// Runs in the real window: what the picture shows, that the controls stay on top, that the run
// takes no input and yet ends promptly when the desktop closes the window, and its pace.
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <ctime>
#include <memory>

#include "canvas/imagesurface.h"
#include "windowtest.h"
#ifndef Q_MOC_RUN  // moc cannot read the Czech identifiers of these headers, nor needs them
#include "app/windowrunhost.h"
#include "run/experiment.h"
#endif

using kvelmor::FrmKvelmor;
using namespace std::chrono_literals;

namespace {

const QColor kGrey(0xC0, 0xC0, 0xC0);
const QColor kCyan(0xC0, 0xFF, 0xFF);
const QColor kBlack(Qt::black);

// Sets the slow-down count through the scroll bar: count = 30 v + 1.
void setScroll(QWidget* window, int v)
{
    find<QScrollBar>(window, "HScroll1")->setValue(v);
}

struct Timed {
    double wall;  // seconds
    double cpu;   // seconds of processor time
};

Timed timedStart(QWidget* window)
{
    QElapsedTimer wall;
    const std::clock_t cpu = std::clock();
    wall.start();
    clickOn(find<QPushButton>(window, "cmdStart"));
    return {wall.nsecsElapsed() / 1e9, double(std::clock() - cpu) / CLOCKS_PER_SEC};
}

// A clock for a run's waits that the test controls: a sleep moves it on by exactly the time asked
// for, and every look at it by a microsecond, so that waiting by spinning shows too.
class TestClock final : public kvelmor::PaceClock {
public:
    std::chrono::steady_clock::time_point now() override { return time += 1us; }
    void sleepFor(std::chrono::nanoseconds duration) override
    {
        time += duration;
        slept += duration;
    }

    std::chrono::steady_clock::time_point time;
    std::chrono::nanoseconds slept{0};
};

// A run of the window on the test's clock at the count that scroll value v writes: how long it
// waited on that clock, and how much of that asleep.
TestClock pacedRun(FrmKvelmor* window, int v)
{
    setScroll(window, v);
    TestClock clock;
    kvelmor::WindowRunHost host(*window, clock);
    kvelmor::runExperiment(window->surface(), host);
    return clock;
}

}  // namespace

class TestWindowRun : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void paintsTheBench();
    void secondRunErasesTheFirst();
    void controlsStayAboveTheDrawing();
    void showsTheLabelsWhereTheRunPutsThem();
    void defaultRunIsInstant();
    void takesNoInputDuringARun();
    void mousePressDuringARunReachesNoControl();
    void desktopCloseEndsASlowRunPromptly();
    void paceGrowsWithTheCountWithoutBurningACore();

private:
    std::unique_ptr<FrmKvelmor> window;
};

void TestWindowRun::init()
{
    window = std::make_unique<FrmKvelmor>();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

void TestWindowRun::cleanup()
{
    window.reset();
}

void TestWindowRun::paintsTheBench()
{
    QVERIFY(qAlpha(window->surface().image().pixel(300, 300)) == 0);  // nothing before a run
    clickOn(find<QPushButton>(window.get(), "cmdStart"));
    const QImage& image = window->surface().image();

    // Grey fill from (5, 40) to (800, 650) pixels, nothing left of or above it.
    QCOMPARE(image.pixelColor(5, 40), kGrey);
    QCOMPARE(image.pixelColor(760, 550), kGrey);
    QCOMPARE(image.pixelColor(800, 650), kGrey);
    QCOMPARE(qAlpha(image.pixel(4, 300)), 0);
    QCOMPARE(qAlpha(image.pixel(300, 39)), 0);

    QCOMPARE(image.pixelColor(200, 450), kCyan);  // the parallel band between lens and screen
    QCOMPARE(image.pixelColor(150, 400), kCyan);  // the fan from the source
    QCOMPARE(image.pixelColor(130, 150), kGrey);  // above the fan
    // Screen: black above and below the slit, light in the gap between 2500 and 4500 twips.
    QCOMPARE(image.pixelColor(232, 120), kBlack);
    QCOMPARE(image.pixelColor(233, 400), kBlack);
    QCOMPARE(image.pixelColor(232, 233), kCyan);
    QCOMPARE(image.pixelColor(238, 180), kCyan);
    QCOMPARE(image.pixelColor(245, 180), kGrey);
    // Source: white filling left of its centre (the beam covers the right), black outline.
    QCOMPARE(image.pixelColor(110, 233), QColor(Qt::white));
    QCOMPARE(image.pixelColor(106, 233), kBlack);
    // Detector line at 5500 twips (column 366 and 367), axis at 7500 (column 500).
    QCOMPARE(image.pixelColor(366, 450), kBlack);
    QCOMPARE(image.pixelColor(367, 450), kBlack);
    QCOMPARE(image.pixelColor(500, 110), kBlack);
    // The pattern's bars stand right of the axis; the central maximum is long, a far row short.
    QCOMPARE(image.pixelColor(600, 233), kBlack);
    QCOMPARE(image.pixelColor(520, 466), kGrey);
}

void TestWindowRun::secondRunErasesTheFirst()
{
    clickOn(find<QPushButton>(window.get(), "cmdStart"));
    clickOn(find<QRadioButton>(window.get(), "op1"));
    clickOn(find<QRadioButton>(window.get(), "opV400"));
    clickOn(find<QPushButton>(window.get(), "cmdStart"));
    const QImage& image = window->surface().image();
    // No black is left of the old detector line (columns 366, 367), only grey and cyan rays.
    for (int y = 100; y <= 500; ++y) {
        for (int x : {366, 367}) {
            const QColor c = image.pixelColor(x, y);
            QVERIFY2(c == kGrey || c == kCyan, qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
        }
    }
    QCOMPARE(image.pixelColor(433, 450), kBlack);  // the new one, at 6500 twips
    // The longest bar of "vyšší" at "400": 3755.5 twips from the axis, 250 pixels.
    int longest = 0;
    for (int y = 100; y <= 466; ++y) {
        int x = 501;
        while (x < image.width() && image.pixelColor(x, y) == kBlack) ++x;
        longest = std::max(longest, x - 500);
    }
    QVERIFY2(std::abs(longest - 251) <= 1, qPrintable(QString::number(longest)));
}

void TestWindowRun::controlsStayAboveTheDrawing()
{
    QMap<QString, QImage> before;
    const char* names[] = {"cmdStart", "cmdKonec", "frmFrekvence", "frmVzdalenost",
                           "LabStart", "HScroll1", "labNeurcitost"};
    for (const char* name : names) {
        QWidget* w = find(window.get(), name);
        before[name] = window->grab(w->geometry()).toImage();
    }
    clickOn(find<QPushButton>(window.get(), "cmdStart"));
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    for (const char* name : names) {
        QWidget* w = find(window.get(), name);
        QVERIFY2(window->grab(w->geometry()).toImage() == before[name], name);
    }
    // While the bench itself does show where no control stands.
    const QImage after = window->grab().toImage();
    QCOMPARE(after.pixelColor(366, 450), kBlack);
}

void TestWindowRun::showsTheLabelsWhereTheRunPutsThem()
{
    clickOn(find<QPushButton>(window.get(), "cmdStart"));
    struct Where {
        const char* name;
        QPoint at;
    };
    for (Where w : {Where{"labClona", {153, 67}}, Where{"labDetektorB", {367, 67}},
                    Where{"labPravděpodobnost", {500, 67}}, Where{"labZdroj", {60, 227}}}) {
        QLabel* label = find<QLabel>(window.get(), w.name);
        QVERIFY2(label->isVisible(), w.name);
        QCOMPARE(label->pos(), w.at);
    }
    clickOn(find<QRadioButton>(window.get(), "opV300"));
    clickOn(find<QPushButton>(window.get(), "cmdStart"));
    QCOMPARE(find(window.get(), "labDetektorB")->pos(), QPoint(300, 67));
    QVERIFY(find(window.get(), "labZdroj")->isVisible());
}

// At the default count the 221 steps wait 50 ns each on the run's clock, and a whole run,
// arithmetic and drawing included, is over in well under a second even on a busy machine.
void TestWindowRun::defaultRunIsInstant()
{
    const TestClock clock = pacedRun(window.get(), 0);
    QVERIFY2(clock.time.time_since_epoch() < 221 * 10us,
             qPrintable(QString::number(clock.time.time_since_epoch().count())));
    const Timed t = timedStart(window.get());
    qInfo("a whole run at the default pace: %.1f ms", t.wall * 1e3);
#ifndef KVELMOR_SANITIZED  // the sanitizers slow the arithmetic down many times over
    QVERIFY2(t.wall < 1, qPrintable(QString::number(t.wall)));
#endif
}

// Clicks, keys and wheel turns arriving while a run waits between steps are dropped: "Konec"
// does not close, neither by a click nor by Enter, the scroll bar and the options do not move,
// and nothing is replayed after the run.
void TestWindowRun::takesNoInputDuringARun()
{
    setScroll(window.get(), 1000);  // 1.5 ms a step, about 0.3 s a run
    const QString count = boxText(window.get(), "nSpomaleni");
    auto* konec = find<QPushButton>(window.get(), "cmdKonec");
    auto* bar = find<QScrollBar>(window.get(), "HScroll1");
    auto* op06 = find<QRadioButton>(window.get(), "op06");
    QSignalSpy konecClicks(konec, &QPushButton::clicked);
    bool seenRunning = false;
    // Owned by this test, so it can never fire after the test has returned. It looks in every
    // 20 ms and sends its input once, as soon as the run is under way.
    QTimer during;
    connect(&during, &QTimer::timeout, this, [&] {
        if (!window->isRunning()) return;
        during.stop();
        seenRunning = true;
        clickOn(konec);
        konec->setFocus();
        QTest::keyClick(konec, Qt::Key_Return);
        bar->setFocus();
        QTest::keyClick(bar, Qt::Key_End);
        const QPointF centre = QRectF(bar->rect()).center();
        for (int turn = 0; turn < 3; ++turn) {
            QWheelEvent wheel(centre, bar->mapToGlobal(centre), QPoint(), QPoint(0, -120),
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(bar, &wheel);
        }
        op06->setFocus();
        QTest::keyClick(op06, Qt::Key_Down);
        QTest::keyClick(window.get(), Qt::Key_Space);
    });
    during.start(20);
    clickOn(find<QPushButton>(window.get(), "cmdStart"));
    QVERIFY(seenRunning);
    QCoreApplication::processEvents();
    QCOMPARE(konecClicks.count(), 0);
    QVERIFY(window->isVisible());
    QCOMPARE(bar->value(), 1000);
    QCOMPARE(boxText(window.get(), "nSpomaleni"), count);
    QVERIFY(op06->isChecked());
    QCOMPARE(boxText(window.get(), "nFi"), QStringLiteral("0.6"));
    QVERIFY(find(window.get(), "labZdroj")->isVisible());  // the run went to its end

    // The same wheel turn after the run does move the bar: the test would see it.
    const QPointF centre = QRectF(bar->rect()).center();
    QWheelEvent wheel(centre, bar->mapToGlobal(centre), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(bar, &wheel);
    QVERIFY(bar->value() != 1000);
}

// A press alone acts on some controls: a scroll bar's arrow steps on the press, and a button goes
// down. Pressed during a run (the release comes after it), neither happens.
void TestWindowRun::mousePressDuringARunReachesNoControl()
{
    setScroll(window.get(), 1000);  // 1.5 ms a step, about 0.3 s a run
    auto* konec = find<QPushButton>(window.get(), "cmdKonec");
    auto* bar = find<QScrollBar>(window.get(), "HScroll1");
    QSignalSpy konecPresses(konec, &QPushButton::pressed);
    const QPoint rightArrow(bar->width() - 4, bar->height() / 2);
    bool seenRunning = false;
    QTimer during;
    connect(&during, &QTimer::timeout, this, [&] {
        if (!window->isRunning()) return;
        during.stop();
        seenRunning = true;
        QTest::mousePress(konec, Qt::LeftButton);
        QTest::mousePress(bar, Qt::LeftButton, {}, rightArrow);
    });
    during.start(20);
    clickOn(find<QPushButton>(window.get(), "cmdStart"));
    QVERIFY(seenRunning);
    QTest::mouseRelease(konec, Qt::LeftButton);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, rightArrow);
    QCOMPARE(konecPresses.count(), 0);
    QVERIFY(!konec->isDown());
    QCOMPARE(bar->value(), 1000);
    QVERIFY(window->isVisible());

    // The same press after the run does step the bar: the test would see it.
    QTest::mouseClick(bar, Qt::LeftButton, {}, rightArrow);
    QCOMPARE(bar->value(), 1001);
}

// As in the program: the run starts from the event loop, the window manager's close arrives
// while it waits between steps, and the event loop ends with status 0 right after.
void TestWindowRun::desktopCloseEndsASlowRunPromptly()
{
    setScroll(window.get(), 32767);  // 49 ms a step: some 11 s for the whole run
    QElapsedTimer sinceClose;
    bool closedWhileRunning = false;
    QTimer::singleShot(0, this, [&] { clickOn(find<QPushButton>(window.get(), "cmdStart")); });
    QTimer::singleShot(300, this, [&] {
        closedWhileRunning = window->isRunning();
        sinceClose.start();
        // What the window manager's close button delivers to the window.
        QCoreApplication::postEvent(window->windowHandle(), new QCloseEvent);
    });
    QTimer::singleShot(15000, qApp, [] { QCoreApplication::exit(99); });  // never hang the suite
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(closedWhileRunning);
    qInfo("the program ended %lld ms after the close", sinceClose.elapsed());
    QVERIFY(sinceClose.elapsed() < 500);  // within about one detector step, with room to spare
    QVERIFY(!window->isVisible());
    QVERIFY(!window->isRunning());
    QVERIFY(!find(window.get(), "labZdroj")->isVisible());  // the run stopped, it did not finish
}

// Each step waits the count's time on the run's clock, asleep but for its last tenth of a
// millisecond; on the real clock a run takes at least its waits and leaves the core idle.
void TestWindowRun::paceGrowsWithTheCountWithoutBurningACore()
{
    struct Pace {
        int v;
        std::chrono::nanoseconds step;
    };
    for (Pace pace : {Pace{1500, 2250us}, Pace{3000, 4500us}}) {  // counts 45001 and 90001
        const TestClock clock = pacedRun(window.get(), pace.v);
        const auto waited = clock.time.time_since_epoch();
        const auto asked = 221 * pace.step;
        const QString what = QStringLiteral("v=%1: waited %2 ns, %3 asleep, asked %4")
                                 .arg(pace.v)
                                 .arg(waited.count())
                                 .arg(clock.slept.count())
                                 .arg(asked.count());
        QVERIFY2(waited >= asked && waited < asked + 221 * 10us, qPrintable(what));
        QVERIFY2(clock.slept > 0.9 * asked, qPrintable(what));
    }
    setScroll(window.get(), 3000);
    const Timed t = timedStart(window.get());
    qInfo("a run of 221 waits of 4.5 ms: %.0f ms, %.0f ms of processor time", t.wall * 1e3,
          t.cpu * 1e3);
    QVERIFY2(t.wall > 221 * 4.5e-3, qPrintable(QString::number(t.wall)));
    QVERIFY2(t.cpu < 0.5 * t.wall, qPrintable(QString::number(t.cpu)));
}

QTEST_MAIN(TestWindowRun)
#include "tst_windowrun.moc"
