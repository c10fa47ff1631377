// The explorer's own controls after a run: the height slider's keys, the count slider, a click on
// the pattern, the two sweeps, the readouts' accessible names and the polite announcement of a
// settled change, and the saved picture and numbers, which are the export's files.
#include <QAccessible>
#include <QFileDialog>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "explorertest.h"
#ifndef Q_MOC_RUN  // moc cannot read the Czech identifiers of these headers, nor needs them
#include "explore/explorer.h"
#include "explore/paths.h"
#endif

using namespace kvelmor;

namespace {

// Polls, with a deadline, until `done` holds.
template <typename Condition>
bool waitFor(Condition done, int deadlineMs = 15000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > deadlineMs) return false;
        QTest::qWait(5);
    }
    return true;
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class TestExplorerControls : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void keysMoveTheHeight_data();
    void keysMoveTheHeight();
    void countSliderOffersTheCountsUpToInfinity();
    void clickOnThePatternPicksAHeight();
    void countSweepGoesFrom2To2003InAboutThreeSeconds();
    void heightSweepGoesUpTheDetectorAndStopsWhenPressedAgain();
    void readoutsHaveNamesAndASettledChangeIsAnnouncedOnce();
    void savedFilesAreTheExports();

private:
    std::unique_ptr<ExplorerFixture> f;
    QSlider* height = nullptr;
};

// A finished run at the default setting, the explorer opened at step 100 by a click.
void TestExplorerControls::init()
{
    f = std::make_unique<ExplorerFixture>();
    f->run();
    f->clickDrawing(5500, stepHeight(100));
    QVERIFY(f->explorer());
    height = f->inExplorer<QSlider>("sldVýška");
}

void TestExplorerControls::cleanup()
{
    f.reset();
}

void TestExplorerControls::keysMoveTheHeight_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("step");
    QTest::newRow("Right") << int(Qt::Key_Right) << 101;
    QTest::newRow("Left") << int(Qt::Key_Left) << 99;
    QTest::newRow("Up") << int(Qt::Key_Up) << 101;
    QTest::newRow("Down") << int(Qt::Key_Down) << 99;
    QTest::newRow("PgUp: the run's next chain step") << int(Qt::Key_PageUp) << 120;
    QTest::newRow("PgDn") << int(Qt::Key_PageDown) << 80;
    QTest::newRow("Home: the bottom") << int(Qt::Key_Home) << 0;
    QTest::newRow("End: the top") << int(Qt::Key_End) << 220;
}

void TestExplorerControls::keysMoveTheHeight()
{
    QFETCH(int, key);
    QFETCH(int, step);
    height->setFocus();
    QTest::keyClick(height, Qt::Key(key));
    QCOMPARE(height->value(), step);
    QCOMPARE(f->explorer()->explorer()->step(), step);
    QVERIFY(f->readout("labVýška").contains(QStringLiteral("krok %1 z 220").arg(step)));
}

void TestExplorerControls::countSliderOffersTheCountsUpToInfinity()
{
    auto* count = f->inExplorer<QSlider>("sldŠipky");
    count->setFocus();
    QTest::keyClick(count, Qt::Key_Home);
    QStringList seen{f->readout("labŠipky")};
    for (int n = 1; n < int(kPathChoices.size()); ++n) {
        QTest::keyClick(count, Qt::Key_Right);
        seen << f->readout("labŠipky");
        QCOMPARE(f->explorer()->explorer()->paths(), kPathChoices[n]);
    }
    QCOMPARE(seen, QStringList({"N = 2", "N = 3", "N = 5", "N = 10", "N = 20", "N = 50", "N = 100",
                                "N = 200", "N = 500", "N = 1000", "N = 2003", "N = ∞"}));
    QCOMPARE(f->readout("labProtiSpojité"), QStringLiteral("0,0 %"));  // the slit itself
    QCOMPARE(f->explorer()->explorer()->step(), 100);
}

void TestExplorerControls::clickOnThePatternPicksAHeight()
{
    QWidget* pattern = f->inExplorer("kresbaObrazce");
    // The pattern stands 4 pixels inside the view, step 0's band at the bottom.
    const double band = (pattern->height() - 8) / 221.0;
    const auto rowOf = [&](int step) { return int(4 + (220 - step + 0.5) * band); };
    QTest::mouseClick(pattern, Qt::LeftButton, {}, QPoint(pattern->width() / 2, rowOf(50)));
    QCOMPARE(height->value(), 50);
    QTest::mouseClick(pattern, Qt::LeftButton, {}, QPoint(3, rowOf(170)));
    QCOMPARE(height->value(), 170);
    QCOMPARE(f->explorer()->explorer()->step(), 170);
}

// The sweep's count is taken from the time since it began: it cannot end before three seconds,
// and ends at 2003 having passed many counts, never going back.
void TestExplorerControls::countSweepGoesFrom2To2003InAboutThreeSeconds()
{
    auto* sweep = f->inExplorer<QPushButton>("cmdPřidávatŠipky");
    QElapsedTimer clock;
    clock.start();
    clickOn(sweep);
    QCOMPARE(sweep->text(), QStringLiteral("Zastavit"));
    QList<int> counts;
    QVERIFY(waitFor([&] {
        counts << f->explorer()->explorer()->paths();
        return sweep->text() != QStringLiteral("Zastavit");
    }));
    const qint64 took = clock.elapsed();
    QVERIFY2(took >= 3000 && took < 8000, qPrintable(QString::number(took)));
    QCOMPARE(counts.front(), 2);
    QCOMPARE(f->explorer()->explorer()->paths(), kRunPaths);
    QCOMPARE(f->readout("labŠipky"), QStringLiteral("N = 2003"));
    QVERIFY(std::is_sorted(counts.begin(), counts.end()));
    QVERIFY2(QSet<int>(counts.begin(), counts.end()).size() >= 20,
             qPrintable(QString::number(QSet<int>(counts.begin(), counts.end()).size())));
    QCOMPARE(f->explorer()->explorer()->step(), 100);
}

void TestExplorerControls::heightSweepGoesUpTheDetectorAndStopsWhenPressedAgain()
{
    auto* sweep = f->inExplorer<QPushButton>("cmdProjítDetektor");
    clickOn(sweep);
    QList<int> steps;
    QVERIFY(waitFor([&] {
        steps << height->value();
        return sweep->text() != QStringLiteral("Zastavit");
    }));
    QCOMPARE(steps.front(), 0);
    QCOMPARE(height->value(), kLastStep);
    QVERIFY(std::is_sorted(steps.begin(), steps.end()));
    QVERIFY(QSet<int>(steps.begin(), steps.end()).size() >= 20);

    clickOn(sweep);
    QVERIFY(waitFor([&] { return height->value() >= 10; }));
    clickOn(sweep);
    const int stoppedAt = height->value();
    QCOMPARE(sweep->text(), QStringLiteral("Projít detektor"));
    QTest::qWait(100);
    QCOMPARE(height->value(), stoppedAt);
    QVERIFY(stoppedAt < kLastStep);
}

// Each readout's accessible name says what it is and its value. Three quick key presses are
// told once, after they settle, by the status line: a polite announcement, not one per key.
void TestExplorerControls::readoutsHaveNamesAndASettledChangeIsAnnouncedOnce()
{
    const std::pair<const char*, const char*> names[] = {
        {"labVýška", "Výška detektoru: y = "},
        {"labRozdílDrah", "Rozdíl drah od okrajů štěrbiny: "},
        {"labOtočení", "Otočení šipky součtu: "},
        {"labČtverec", "Čtverec délky součtu: "},
        {"labPodíl", "Podíl nejvyššího sloupce: "},
        {"labProtiSpojité", "Rozdíl od spojité štěrbiny: "},
    };
    for (const auto& [label, name] : names) {
        const QString accessible =
            QAccessible::queryAccessibleInterface(f->inExplorer(label))->text(QAccessible::Name);
        QVERIFY2(accessible.startsWith(QString::fromUtf8(name)), qPrintable(accessible));
        QVERIFY(accessible.endsWith(f->readout(label)));
    }

    QVERIFY(waitFor([&] { return !f->readout("labOznámení").isEmpty(); }));
    QSignalSpy announced(f->explorer(), &ExplorerWindow::announced);
    height->setFocus();
    for (int n = 0; n < 3; ++n) QTest::keyClick(height, Qt::Key_Right);
    QVERIFY(waitFor([&] { return f->readout("labOznámení").startsWith("Krok 103, N = 2003"); }));
    QTest::qWait(600);  // longer than a change takes to settle
    QCOMPARE(announced.count(), 1);
    const QString said = announced.front().front().toString();
    QCOMPARE(said, f->readout("labOznámení"));
    QCOMPARE(QAccessible::queryAccessibleInterface(f->inExplorer("labOznámení"))
                 ->text(QAccessible::Name),
             said);
    QVERIFY(f->readout("labOznámení").contains(QStringLiteral("nejvyššího sloupce")));
}

// The picture as SVG and as PNG and the numbers, saved through the dialog, are the files that
// kvelmor-export --lang cs writes for the same step and count.
void TestExplorerControls::savedFilesAreTheExports()
{
    find<QSlider>(f->explorer(), "sldŠipky")->setValue(7);  // 200 arrows
    QTemporaryDir saved, exported;
    const auto saveAs = [&](const char* button, const QString& name) {
        bool answered = false;
        QTimer dialogWatch;
        connect(&dialogWatch, &QTimer::timeout, this, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            dialogWatch.stop();
            answered = dialog->selectedFiles().value(0).endsWith(
                QStringLiteral("kvelmor-0.6-350-step-100-paths-200") +
                (QString(button) == "cmdUložitČísla" ? ".csv" : ".svg"));
            // Typed into the dialog's name field, as a user would, and saved.
            auto* typed = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            if (typed) typed->setText(saved.filePath(name));
            static_cast<QDialog*>(dialog)->accept();
        });
        dialogWatch.start(10);
        clickOn(f->inExplorer<QPushButton>(button));
        QVERIFY2(answered, button);
        QCOMPARE(f->readout("labOznámení"), QStringLiteral("Uloženo: ") + name);
    };
    saveAs("cmdUložitObrázek", QStringLiteral("chain.svg"));
    saveAs("cmdUložitObrázek", QStringLiteral("chain.png"));
    saveAs("cmdUložitČísla", QStringLiteral("chain.csv"));

    QProcess exporter;
    exporter.start(QStringLiteral(KVELMOR_EXPORT_BINARY),
                   {"--lang", "cs", "--frequency", "stredni", "--distance", "350", "--step", "100",
                    "--paths", "200", "--out", exported.path()});
    QVERIFY(exporter.waitForFinished(60000));
    QCOMPARE(exporter.exitCode(), 0);
    const QString base = exported.filePath(QStringLiteral("kvelmor-0.6-350-step-100-paths-200"));
    for (const char* kind : {"svg", "png", "csv"}) {
        const QByteArray ours = contents(saved.filePath(QStringLiteral("chain.") + kind));
        QVERIFY2(!ours.isEmpty(), kind);
        QVERIFY2(ours == contents(base + '.' + kind), kind);
    }
}

QTEST_MAIN(TestExplorerControls)
#include "tst_explorercontrols.moc"
