// Kvelmor tried as a person would: the real program in a real X server (Xvfb), clicked with
// xdotool and looked at through screenshots of the screen.
#include <QApplication>
#include <QDir>
#include <QSet>
#include <QWidget>
#include <QtTest>
#include <cmath>

#include "e2e_kvelmor.h"
#include "independentsum.h"

namespace {

const QColor kGrey(0xC0, 0xC0, 0xC0);
const QColor kCyan(0xC0, 0xFF, 0xFF);
const QColor kBlack(Qt::black);
const QColor kGreen(0, 0xFF, 0);

// Places of the window, in logical pixels.
const QPoint kStart(592, 16), kKonec(664, 16);
const QPoint kVysoky(16, 31), kVyssi(28, 47), kStredni(36, 64), kNizsi(44, 80), kNizky(52, 96);
const QPoint kV300(36, 150), kV400(36, 184);

QColor at(const QImage& image, double scale, int x, int y)
{
    return image.pixelColor(int(x * scale), int(y * scale));
}

// The longest probability bar on the screen, in logical pixels right of the axis.
int longestBar(const QImage& image, double scale)
{
    int longest = 0;
    for (int y = int(100 * scale); y <= int(467 * scale); ++y) {
        int x = int(501 * scale);
        while (x < image.width() && image.pixelColor(x, y) == kBlack) ++x;
        longest = std::max(longest, x - int(501 * scale));
    }
    return int(std::lround(longest / scale)) + 1;
}

// Where an independent sum puts the end of the longest bar, measured the same way.
int expectedLongestBar(const char* frequency, double distance)
{
    return int(std::floor((7500 + independent::longestBarTwips(frequency, int(distance))) / 15 +
                          0.5)) -
           500 + 1;
}

int count(const QImage& image, const QRect& area, const QColor& colour)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) n += image.pixelColor(x, y) == colour;
    return n;
}

void saveForReadme(const QImage& image, const char* name)
{
    const QString dir = qEnvironmentVariable("KVELMOR_SCREENSHOT_DIR");
    if (!dir.isEmpty()) image.save(QDir(dir).filePath(QString::fromLatin1(name)));
}

}  // namespace

class TestEndToEnd : public QObject {
    Q_OBJECT

private slots:
    void runsTheExperimentOnTheScreen();
    void keepsThePictureWhenCoveredOrHidden();
    void konecEndsWithStatusZero();
    void desktopCloseEndsASlowRunAtOnce();
    void staysCrispAtDoubleScale();
    void everyFrequencyWorksUnderACzechLocale();
    void framesStandAsClassicFrames();
    void keyboardAloneChoosesAndStarts();
};

void TestEndToEnd::runsTheExperimentOnTheScreen()
{
    KvelmorProcess kvelmor;
    QVERIFY(kvelmor.hasWindow());
    QCOMPARE(kvelmor.geometry().size(), QSize(765, 560));
    const QImage before = kvelmor.settledScreenshot();
    saveForReadme(before, "window.png");
    QCOMPARE(before.pixelColor(400, 450), kGrey);  // nothing drawn yet

    kvelmor.click(kStart.x(), kStart.y());
    const QImage run = kvelmor.settledScreenshot();
    saveForReadme(run, "run.png");
    QCOMPARE(run.pixelColor(110, 233), QColor(Qt::white));  // source
    QCOMPARE(run.pixelColor(200, 450), kCyan);              // band of parallel light
    QCOMPARE(run.pixelColor(232, 120), kBlack);             // screen above the slit
    QCOMPARE(run.pixelColor(232, 233), kCyan);              // light in the gap
    QCOMPARE(run.pixelColor(366, 450), kBlack);             // detector line at 350
    QCOMPARE(run.pixelColor(500, 110), kBlack);             // probability axis
    QCOMPARE(run.pixelColor(600, 233), kBlack);             // the central maximum's bars
    QCOMPARE(run.pixelColor(600, 440), kGrey);              // low on the line, short bars
    QCOMPARE(longestBar(run, 1), expectedLongestBar("0.6", 350));
    QVERIFY(count(run, QRect(330, 90, 100, 420), kGreen) > 40);  // the green sum arrows
    // The four scene labels: dark text on their grey, where the run placed them.
    for (QRect label : {QRect(153, 67, 137, 25), QRect(367, 67, 81, 17), QRect(500, 67, 121, 17),
                        QRect(60, 227, 33, 17)}) {
        QVERIFY(count(run, label, kBlack) > 20);
    }

    kvelmor.click(kVyssi.x(), kVyssi.y());
    kvelmor.click(kV400.x(), kV400.y());
    kvelmor.click(kStart.x(), kStart.y());
    const QImage second = kvelmor.settledScreenshot();
    for (int y = 100; y <= 500; ++y) {
        for (int x : {366, 367}) QVERIFY(second.pixelColor(x, y) != kBlack);  // old line gone
    }
    QCOMPARE(second.pixelColor(433, 450), kBlack);
    QCOMPARE(longestBar(second, 1), expectedLongestBar("1", 400));
    QVERIFY(count(second, QRect(433, 67, 81, 17), kBlack) > 20);  // "Detektor" moved along
}

void TestEndToEnd::keepsThePictureWhenCoveredOrHidden()
{
    KvelmorProcess kvelmor;
    QVERIFY(kvelmor.hasWindow());
    kvelmor.click(kStart.x(), kStart.y());
    const QImage run = kvelmor.settledScreenshot();

    QWidget cover;
    cover.setWindowFlags(Qt::X11BypassWindowManagerHint | Qt::FramelessWindowHint);
    cover.setGeometry(kvelmor.geometry().adjusted(-10, -10, 10, 10));
    cover.setStyleSheet(QStringLiteral("background: red"));
    cover.show();
    QVERIFY(QTest::qWaitForWindowExposed(&cover));
    QTRY_VERIFY_WITH_TIMEOUT(kvelmor.screenshot().pixelColor(400, 300) == QColor(Qt::red), 10000);
    cover.hide();
    QCOMPARE(kvelmor.settledScreenshot(), run);

    kvelmor.unmapAndMap();
    QCOMPARE(kvelmor.settledScreenshot(), run);
}

void TestEndToEnd::konecEndsWithStatusZero()
{
    KvelmorProcess kvelmor;
    QVERIFY(kvelmor.hasWindow());
    kvelmor.click(kStart.x(), kStart.y());
    kvelmor.settledScreenshot();
    kvelmor.click(kKonec.x(), kKonec.y());
    QVERIFY(kvelmor.waitForExit(5000));
    QCOMPARE(kvelmor.exitStatus(), QProcess::NormalExit);
    QCOMPARE(kvelmor.exitCode(), 0);
}

void TestEndToEnd::desktopCloseEndsASlowRunAtOnce()
{
    KvelmorProcess kvelmor;
    QVERIFY(kvelmor.hasWindow());
    kvelmor.drag({200, 40}, {330, 40});  // the scroll bar's thumb to its right end: slowest
    kvelmor.click(kStart.x(), kStart.y());
    // The run is under way once the detector line shows, however busy the machine.
    QTRY_COMPARE_WITH_TIMEOUT(kvelmor.screenshot().pixelColor(366, 450), kBlack, 10000);
    QCOMPARE(kvelmor.screenshot().pixelColor(600, 233), kGrey);  // far from the pattern's middle
    QElapsedTimer sinceClose;
    sinceClose.start();
    kvelmor.closeFromDesktop();
    // The rest of the run would take more than five seconds more; the program ends long before,
    // its exit (a leak check under the sanitizers) included.
    QVERIFY(kvelmor.waitForExit(4000));
    qInfo("the program ended %lld ms after the close", sinceClose.elapsed());
    QCOMPARE(kvelmor.exitStatus(), QProcess::NormalExit);
    QCOMPARE(kvelmor.exitCode(), 0);
    const QString errors = kvelmor.errorOutput();
    for (const char* crash : {"Segmentation", "Aborted", "Sanitizer", "runtime error", "QXcb"}) {
        QVERIFY2(!errors.contains(QLatin1String(crash)), qPrintable(errors));
    }
}

void TestEndToEnd::staysCrispAtDoubleScale()
{
    KvelmorProcess kvelmor({QStringLiteral("QT_SCALE_FACTOR=2")});
    QVERIFY(kvelmor.hasWindow());
    QCOMPARE(kvelmor.geometry().size(), QSize(1530, 1120));
    kvelmor.click(kStart.x(), kStart.y());
    const QImage run = kvelmor.settledScreenshot();
    // The axis, one logical pixel wide, is exactly two device pixels of pure black (below the
    // lowest bar, at 7000 twips, nothing else touches it).
    for (int y = 2 * 470; y < 2 * 499; y += 5) {
        QCOMPARE(run.pixelColor(999, y), kGrey);
        QCOMPARE(run.pixelColor(1000, y), kBlack);
        QCOMPARE(run.pixelColor(1001, y), kBlack);
        QVERIFY(run.pixelColor(1002, y) != kBlack);
    }
    QCOMPARE(at(run, 2, 366, 450), kBlack);
    // Bar ends are rounded to device pixels, half a logical pixel finer than at 1x.
    QVERIFY(std::abs(longestBar(run, 2) - expectedLongestBar("0.6", 350)) <= 1);
    // No blur anywhere in the drawing (right of the prompt label's antialiased text): only the
    // colours it draws with.
    QSet<QRgb> colours;
    for (int y = 200; y < 1000; ++y)
        for (int x = 920; x < 1520; ++x) colours.insert(run.pixel(x, y));
    const QSet<QRgb> drawn{kGrey.rgb(), kCyan.rgb(), kBlack.rgb(), kGreen.rgb(),
                           QColor(Qt::white).rgb()};
    QVERIFY2(colours - drawn == QSet<QRgb>{},
             qPrintable(QString::number((colours - drawn).size())));
    // The layout is the same in logical pixels: "Konec" answers where it stood.
    kvelmor.click(kKonec.x(), kKonec.y());
    QVERIFY(kvelmor.waitForExit(5000));
    QCOMPARE(kvelmor.exitCode(), 0);
}

void TestEndToEnd::everyFrequencyWorksUnderACzechLocale()
{
    KvelmorProcess kvelmor(
        {QStringLiteral("LC_ALL=cs_CZ.UTF-8"), QStringLiteral("LANG=cs_CZ.UTF-8")});
    QVERIFY(kvelmor.hasWindow());
    kvelmor.click(kV300.x(), kV300.y());
    struct Choice {
        QPoint option;
        const char* frequency;
    };
    QSet<int> lengths;
    for (Choice c : {Choice{kVysoky, "5"}, Choice{kVyssi, "1"}, Choice{kStredni, "0.6"},
                     Choice{kNizsi, "0.2"}, Choice{kNizky, "0.03"}}) {
        kvelmor.click(c.option.x(), c.option.y());
        kvelmor.click(kStart.x(), kStart.y());
        const QImage run = kvelmor.settledScreenshot();
        const int longest = longestBar(run, 1);
        QVERIFY2(longest == expectedLongestBar(c.frequency, 300),
                 qPrintable(QStringLiteral("%1: %2").arg(QLatin1String(c.frequency)).arg(longest)));
        QVERIFY(longest > 5);
        lengths.insert(longest);
    }
    QVERIFY(lengths.size() >= 4);  // each frequency its own pattern
}

// On the screen, the frequency frame's top border runs through its caption and stops behind it,
// the inside of the frame is the window's grey, and "vysoký" stands inside the border.
void TestEndToEnd::framesStandAsClassicFrames()
{
    KvelmorProcess kvelmor;
    QVERIFY(kvelmor.hasWindow());
    const QImage shot = kvelmor.settledScreenshot();
    const QRect frame(8, 8, 121, 105);   // "Kmitočet fotonu" at 120, 120, 1815 x 1575 twips
    const QRect vysoky(16, 24, 81, 13);  // "vysoký" at 120, 240 in the frame

    int top = -1;  // the border's top edge, down the frame's right-hand part
    for (int y = frame.top(); y < frame.top() + 20 && top < 0; ++y) {
        if (shot.pixelColor(frame.right() - 4, y) != kGrey) top = y;
    }
    QVERIFY(top > frame.top());
    QVERIFY2(top < vysoky.top(), qPrintable(QString::number(top)));
    // The caption's ink, left of the right-hand part, reaches above and below the edge.
    int inkTop = 1000, inkBottom = 0;
    for (int y = frame.top(); y < vysoky.top(); ++y) {
        for (int x = frame.left() + 6; x < frame.left() + 100; ++x) {
            if (y != top && y != top + 1 && shot.pixelColor(x, y) != kGrey) {
                inkTop = std::min(inkTop, y);
                inkBottom = std::max(inkBottom, y);
            }
        }
    }
    QVERIFY2(inkTop < top && inkBottom > top + 1,
             qPrintable(QStringLiteral("ink %1..%2, edge %3").arg(inkTop).arg(inkBottom).arg(top)));
    QCOMPARE(shot.pixelColor(frame.left() + 30, top + 1) == QColor(Qt::white), false);
    QCOMPARE(shot.pixelColor(frame.right() - 4, top + 1), QColor(Qt::white));
    // The border's left, right and bottom edges lie on the frame's own rectangle.
    QVERIFY(shot.pixelColor(frame.left(), 60) != kGrey);
    QVERIFY(shot.pixelColor(frame.right(), 60) != kGrey);
    QVERIFY(shot.pixelColor(70, frame.bottom()) != kGrey);
    QCOMPARE(shot.pixelColor(frame.left() - 1, 60), kGrey);
    // "vysoký" inside the border, on the window's grey, as is the rest of the inside.
    QVERIFY(vysoky.left() > frame.left() + 1 && vysoky.top() > top + 1);
    QCOMPARE(shot.pixelColor(vysoky.right(), vysoky.top()), kGrey);
    QCOMPARE(shot.pixelColor(vysoky.right(), vysoky.bottom()), kGrey);
    for (int y = vysoky.bottom() + 1; y < frame.bottom() - 2; ++y) {
        QCOMPARE(shot.pixelColor(frame.right() - 4, y), kGrey);  // right of every option
    }
}

// Tab to the frequency group, the arrows to "nízký" (up from "střední", round past "vysoký"),
// Shift+Tab to the distance group, Down to "400", back to "Start" and Enter: the pattern of that
// setting.
void TestEndToEnd::keyboardAloneChoosesAndStarts()
{
    KvelmorProcess kvelmor;
    QVERIFY(kvelmor.hasWindow());
    kvelmor.key("Tab Tab Up Up Up shift+Tab Down shift+Tab shift+Tab Return");
    const QImage run = kvelmor.settledScreenshot();
    QCOMPARE(run.pixelColor(433, 450), kBlack);  // the detector line at 400
    QCOMPARE(longestBar(run, 1), expectedLongestBar("0.03", 400));
    QVERIFY(expectedLongestBar("0.03", 400) != expectedLongestBar("0.6", 350));
}

QTEST_MAIN(TestEndToEnd)
#include "tst_e2e.moc"
