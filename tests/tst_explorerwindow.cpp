// The explorer's window beside the main one: opened at a step by a click on the drawing after a
// run, and only then; placed beside the window; following a run step by step while open and
// taking no input during it; explaining itself before any run; in Czech and in English.
#include <QAccessible>
#include <QtTest>

#include "explorertest.h"
#ifndef Q_MOC_RUN  // moc cannot read the Czech identifiers of these headers, nor needs them
#include "explore/explorer.h"
#include "explore/paths.h"
#endif

using namespace kvelmor;

class TestExplorerWindow : public QObject {
    Q_OBJECT

private slots:
    void clickAfterARunOpensTheExplorerAtThatStep_data();
    void clickAfterARunOpensTheExplorerAtThatStep();
    void clickBeforeAnyRunDoesNothing();
    void clickDuringARunDoesNothing();
    void openExplorerFollowsEveryStepOfARun();
    void explorerTakesNoInputDuringARun();
    void beforeAnyRunItExplainsItselfInOneLine();
    void standsBesideTheWindow_data();
    void standsBesideTheWindow();
    void speaksTheWindowsLanguage();
    void closesWithTheWindow();
};

void TestExplorerWindow::clickAfterARunOpensTheExplorerAtThatStep_data()
{
    QTest::addColumn<double>("x");  // twips
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("picked");  // -1: nothing opens
    // The default distance 350 puts the detector line at 5500; the bars start at 7500.
    QTest::newRow("detector line") << 5500.0 << 60 << 60;
    QTest::newRow("probability axis") << 7500.0 << 200 << 200;
    QTest::newRow("the central bar") << 7500.0 + 1500 << 140 << 140;
    QTest::newRow("beside the detector line") << 5500.0 + 300 << 60 << -1;
    QTest::newRow("past the top step's bar") << 7500.0 + 1500 << 220 << -1;
}

void TestExplorerWindow::clickAfterARunOpensTheExplorerAtThatStep()
{
    QFETCH(double, x);
    QFETCH(int, step);
    QFETCH(int, picked);
    ExplorerFixture f;
    f.run();
    f.clickDrawing(x, stepHeight(step));
    if (picked < 0) {
        QVERIFY(!f.explorer());
        return;
    }
    QVERIFY(f.explorer());
    QVERIFY(f.explorer()->isVisible());
    QCOMPARE(f.explorer()->windowTitle(), QStringLiteral("Zkoumat - Kvelmor"));
    QCOMPARE(f.inExplorer<QSlider>("sldVýška")->value(), picked);
    QVERIFY2(f.readout("labVýška").contains(QStringLiteral("krok %1 z 220").arg(picked)),
             qPrintable(f.readout("labVýška")));
    QCOMPARE(f.readout("labŠipky"), QStringLiteral("N = 2003"));
    QVERIFY(f.inExplorer<QLabel>("labNápověda")->isHidden());

    // A second click moves the open explorer to another step.
    f.clickDrawing(5500, stepHeight(10));
    QCOMPARE(f.inExplorer<QSlider>("sldVýška")->value(), 10);
}

void TestExplorerWindow::clickBeforeAnyRunDoesNothing()
{
    ExplorerFixture f;
    f.clickDrawing(5500, stepHeight(100));
    f.clickDrawing(7500, stepHeight(140));
    QVERIFY(!f.explorer());
}

// A click on the detector line while the run waits between steps is dropped with all other
// input: nothing opens, neither during the run nor after it.
void TestExplorerWindow::clickDuringARunDoesNothing()
{
    ExplorerFixture f;
    f.run();           // a run before, so that a click would otherwise open the explorer
    f.slowDown(1000);  // 1.5 ms a step, about 0.3 s a run
    bool clicked = false;
    QTimer during;
    connect(&during, &QTimer::timeout, this, [&] {
        if (!f.window->isRunning()) return;
        during.stop();
        f.clickDrawing(5500, stepHeight(100));
        clicked = true;
    });
    during.start(20);
    f.run();
    QVERIFY(clicked);
    QCoreApplication::processEvents();
    QVERIFY(!f.explorer());
}

// While open, the explorer shows every one of a run's 221 steps as the run draws it, with the
// count chosen before the run; its readouts tell each step.
void TestExplorerWindow::openExplorerFollowsEveryStepOfARun()
{
    ExplorerFixture f;
    f.run();
    f.clickDrawing(5500, stepHeight(30));
    find<QSlider>(f.explorer(), "sldŠipky")->setValue(4);  // 20 arrows
    QList<int> shown;
    bool readoutsFollow = true;
    connect(f.window.get(), &FrmKvelmor::stepDrawn, this, [&](int j) {
        const int step = (j - 500) / 25;
        shown << f.inExplorer<QSlider>("sldVýška")->value();
        readoutsFollow = readoutsFollow && f.explorer()->explorer()->step() == step &&
                         f.readout("labVýška").contains(QStringLiteral("krok %1 ").arg(step)) &&
                         f.readout("labŠipky") == QStringLiteral("N = 20");
    });
    f.run();
    QCOMPARE(shown.size(), 221);
    for (int step = 0; step < 221; ++step) QCOMPARE(shown[step], step);
    QVERIFY(readoutsFollow);
    QVERIFY(f.inExplorer("sldVýška")->isEnabled());
    QCOMPARE(f.explorer()->explorer()->paths(), 20);
}

// The explorer's slider, buttons and pattern take nothing while a run goes on, as the window
// does not: a key and a click sent in the middle of the run change nothing.
void TestExplorerWindow::explorerTakesNoInputDuringARun()
{
    ExplorerFixture f;
    f.link->open();
    f.slowDown(1000);
    int stepWhenSent = -1;
    QTimer during;
    connect(&during, &QTimer::timeout, this, [&] {
        if (!f.window->isRunning() || f.explorer()->explorer()->step() < 20) return;
        during.stop();
        stepWhenSent = f.explorer()->explorer()->step();
        auto* count = f.inExplorer<QSlider>("sldŠipky");
        count->setFocus();
        QTest::keyClick(count, Qt::Key_Home);
        clickOn(f.inExplorer<QPushButton>("cmdPřidávatŠipky"));
        QTest::mouseClick(f.inExplorer("kresbaObrazce"), Qt::LeftButton, {}, QPoint(20, 20));
    });
    during.start(5);
    f.run();
    QVERIFY(stepWhenSent >= 20);
    QCoreApplication::processEvents();
    QCOMPARE(f.explorer()->explorer()->paths(), kRunPaths);
    QCOMPARE(f.explorer()->explorer()->step(), kLastStep);
    QCOMPARE(f.inExplorer<QPushButton>("cmdPřidávatŠipky")->text(),
             QStringLiteral("Přidávat šipky"));
}

void TestExplorerWindow::beforeAnyRunItExplainsItselfInOneLine()
{
    ExplorerFixture f;
    f.link->open();
    QVERIFY(f.explorer()->isVisible());
    auto* hint = f.inExplorer<QLabel>("labNápověda");
    QVERIFY(hint->isVisible());
    QVERIFY(hint->text().startsWith(QStringLiteral("Spusťte pokus tlačítkem Start")));
    QVERIFY(!hint->text().contains(QLatin1Char('\n')));
    for (const char* control : {"sldVýška", "sldŠipky", "cmdPřidávatŠipky", "cmdProjítDetektor",
                                "cmdUložitObrázek", "cmdUložitČísla"}) {
        QVERIFY2(!f.inExplorer(control)->isEnabled(), control);
    }
    QVERIFY(!f.explorer()->explorer());
    // The first run fills it in: it follows the run, then stays at its last step.
    f.run();
    QVERIFY(hint->isHidden());
    QCOMPARE(f.inExplorer<QSlider>("sldVýška")->value(), kLastStep);
    QVERIFY(f.inExplorer("sldVýška")->isEnabled());
}

void TestExplorerWindow::standsBesideTheWindow_data()
{
    QTest::addColumn<QRect>("room");
    QTest::addColumn<QPoint>("at");
    // The main window's frame at (100, 50), 780 x 600; the explorer's 560 x 640.
    QTest::newRow("room on the right") << QRect(0, 0, 1920, 1080) << QPoint(888, 50);
    QTest::newRow("room on the left only") << QRect(-1000, 0, 1900, 1080) << QPoint(-468, 50);
    QTest::newRow("room on neither side") << QRect(0, 0, 1024, 768) << QPoint(464, 50);
    QTest::newRow("a panel above the room") << QRect(0, 80, 1920, 1000) << QPoint(888, 80);
}

void TestExplorerWindow::standsBesideTheWindow()
{
    QFETCH(QRect, room);
    QFETCH(QPoint, at);
    QCOMPARE(besideWindow(QRect(100, 50, 780, 600), QSize(560, 640), room), at);
}

void TestExplorerWindow::speaksTheWindowsLanguage()
{
    ExplorerFixture f(Language::English);
    f.link->open();
    QCOMPARE(f.explorer()->windowTitle(), QStringLiteral("Explore - Kvelmor"));
    QVERIFY(f.inExplorer<QLabel>("labNápověda")->text().startsWith("Run the experiment"));
    f.run();
    QVERIFY(f.readout("labVýška").contains("step 220 of 220"));
    QCOMPARE(f.inExplorer<QPushButton>("cmdProjítDetektor")->text(),
             QStringLiteral("Along the detector"));
    QCOMPARE(QAccessible::queryAccessibleInterface(f.inExplorer("kresbaŘetězce"))->role(),
             QAccessible::Graphic);
}

// "Konec" (or the desktop's close) ends the program with the explorer open: the explorer closes
// with the window and never keeps the program running by itself.
void TestExplorerWindow::closesWithTheWindow()
{
    ExplorerFixture f;
    f.run();
    f.clickDrawing(5500, stepHeight(100));
    QVERIFY(f.explorer()->isVisible());
    QVERIFY(!f.explorer()->testAttribute(Qt::WA_QuitOnClose));
    clickOn(find<QPushButton>(f.window.get(), "cmdKonec"));
    QVERIFY(!f.window->isVisible());
    QVERIFY(!f.explorer()->isVisible());
}

QTEST_MAIN(TestExplorerWindow)
#include "tst_explorerwindow.moc"
