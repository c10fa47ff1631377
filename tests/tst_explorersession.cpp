// What both front ends host of the explorer beyond its model: the session between runs and the
// user (following a run, choices refused during it, the two sweeps by the clock), where a pointer
// on the pattern's view picks, and the chain's file picture with its texts' boxes clear of
// everything drawn.
#include <QtTest>

#ifndef Q_MOC_RUN  // moc cannot read the Czech identifiers of these headers, nor needs them
#include "explore/chainfiles.h"
#include "explore/paths.h"
#include "explore/patternpicture.h"
#include "explore/session.h"
#endif

using namespace kvelmor;

class TestExplorerSession : public QObject {
    Q_OBJECT

private slots:
    void choicesWaitForARunAndPauseDuringOne();
    void aFollowedRunShowsEachStepAndWhatItReached();
    void sweepsGoByTheClockAndAPressStopsThem();
    void patternPicksTheBandUnderThePointer_data();
    void patternPicksTheBandUnderThePointer();
    void chainFileTextsStandClearOfTheDrawing_data();
    void chainFileTextsStandClearOfTheDrawing();
};

void TestExplorerSession::choicesWaitForARunAndPauseDuringOne()
{
    ExplorerSession session;
    QVERIFY(!session.choose(10, 20));
    QVERIFY(!session.pressSweep(ExplorerSession::Sweep::Paths, 0));
    QVERIFY(!session.explorer());

    const ExploreSetting setting = *exploreSettingFor("0.6", 350);
    session.exploreRun(setting, 300);  // beyond the top: the top step
    QCOMPARE(session.explorer()->step(), kLastStep);
    QCOMPARE(session.explorer()->paths(), kRunPaths);
    QCOMPARE(session.lastKnown(), kLastStep);
    QVERIFY(session.choose(40, 20));
    QVERIFY(session.choose(41, 1));  // no count of arrows: the count stays
    QCOMPARE(session.explorer()->paths(), 20);

    session.followRun(setting);
    QVERIFY(session.following());
    QVERIFY(!session.choose(7, 5));
    QVERIFY(!session.pressSweep(ExplorerSession::Sweep::Height, 1));
    QCOMPARE(session.explorer()->step(), 41);
    QCOMPARE(session.explorer()->paths(), 20);

    // Another setting's run keeps the count the user chose.
    const Explorer* before = session.explorer();
    session.exploreRun(*exploreSettingFor("5", 300), 3);
    QVERIFY(session.explorer() != before);
    QCOMPARE(session.explorer()->setting().frequencyText, std::string("5"));
    QCOMPARE(session.explorer()->paths(), 20);
    QVERIFY(!session.following());
}

void TestExplorerSession::aFollowedRunShowsEachStepAndWhatItReached()
{
    ExplorerSession session;
    QVERIFY(!session.followStep(3));
    QVERIFY(!session.endFollowing(true));
    const ExploreSetting setting = *exploreSettingFor("1", 400);
    session.followRun(setting);
    QCOMPARE(session.lastKnown(), -1);
    for (int step = 0; step <= 87; ++step) QVERIFY(session.followStep(step));
    QCOMPARE(session.explorer()->step(), 87);
    QCOMPARE(session.lastKnown(), 87);
    QVERIFY(session.endFollowing(false));  // stopped early: the pattern ends where it got to
    QCOMPARE(session.lastKnown(), 87);
    QVERIFY(!session.following());
    QVERIFY(session.choose(12, kInfinitePaths));

    session.followRun(setting);
    for (int step = 0; step <= kLastStep; ++step) session.followStep(step);
    QVERIFY(session.endFollowing(true));
    QCOMPARE(session.lastKnown(), kLastStep);
    QCOMPARE(session.explorer()->step(), kLastStep);
    QCOMPARE(session.explorer()->paths(), kInfinitePaths);
}

void TestExplorerSession::sweepsGoByTheClockAndAPressStopsThem()
{
    using Sweep = ExplorerSession::Sweep;
    ExplorerSession session;
    session.exploreRun(*exploreSettingFor("0.2", 350), 110);
    session.choose(110, kInfinitePaths);

    // The count from 2 to 2003 in three seconds, whatever the frames' times.
    QVERIFY(session.pressSweep(Sweep::Paths, 100));
    QCOMPARE(session.explorer()->paths(), kFewestPaths);
    for (const auto& [at, paths] :
         {std::pair(100.75, sweptPaths(0.25)), std::pair(101.5, sweptPaths(0.5)),
          std::pair(102.9, sweptPaths(2.9 / 3))}) {
        QVERIFY(session.sweepFrame(at));
        QCOMPARE(session.explorer()->paths(), paths);
        QCOMPARE(session.sweep(), Sweep::Paths);
    }
    QVERIFY(session.sweepFrame(103.2));  // past its end: the run's count, and over
    QCOMPARE(session.explorer()->paths(), kRunPaths);
    QCOMPARE(session.sweep(), Sweep::None);
    QVERIFY(!session.sweepFrame(104));
    QCOMPARE(session.explorer()->step(), 110);

    // Up the detector line from the bottom, 60 steps a second; a second press stops it there.
    QVERIFY(session.pressSweep(Sweep::Height, 0));
    QCOMPARE(session.explorer()->step(), 0);
    QVERIFY(session.sweepFrame(1.01));
    QCOMPARE(session.explorer()->step(), 60);
    QVERIFY(!session.pressSweep(Sweep::Height, 1.5));
    QCOMPARE(session.sweep(), Sweep::None);
    QVERIFY(!session.sweepFrame(2));
    QCOMPARE(session.explorer()->step(), 60);
    QCOMPARE(session.explorer()->paths(), kRunPaths);

    // One sweep's button while the other goes starts it in its place; a run stops either.
    QVERIFY(session.pressSweep(Sweep::Height, 0));
    QVERIFY(session.pressSweep(Sweep::Paths, 0.5));
    QCOMPARE(session.sweep(), Sweep::Paths);
    QVERIFY(session.sweepFrame(5));
    QCOMPARE(session.explorer()->step(), 0);
    QVERIFY(session.pressSweep(Sweep::Height, 6));
    session.followRun(*exploreSettingFor("0.2", 350));
    QCOMPARE(session.sweep(), Sweep::None);
    QVERIFY(!session.stopSweep());
    QVERIFY(session.sweepFrame(7) == false);
    QVERIFY(session.sweepFrame(8.0 + ExplorerSession::kPathsSweepSeconds) == false);
}

void TestExplorerSession::patternPicksTheBandUnderThePointer_data()
{
    QTest::addColumn<double>("height");
    QTest::addColumn<double>("y");
    QTest::addColumn<int>("step");
    // A view 448 pixels high: 440 of pattern, two pixels a band, four free above and below.
    QTest::newRow("above the pattern: the top") << 448.0 << -20.0 << kLastStep;
    QTest::newRow("the top band") << 448.0 << 4.5 << kLastStep;
    QTest::newRow("the band below it") << 448.0 << 6.5 << kLastStep - 1;
    QTest::newRow("the middle") << 448.0 << 224.5 << 110;
    QTest::newRow("the bottom band") << 448.0 << 443.5 << 0;
    QTest::newRow("below the pattern: the bottom") << 448.0 << 460.0 << 0;
    QTest::newRow("a view too small for a pattern") << 6.0 << 3.0 << 0;
}

void TestExplorerSession::patternPicksTheBandUnderThePointer()
{
    QFETCH(double, height);
    QFETCH(double, y);
    QFETCH(int, step);
    QCOMPARE(patternStepAt(150, height, y), step);
    const PictureArea area = patternArea(150, height);
    QCOMPARE(area.left, 4.0);
    QCOMPARE(area.width, 142.0);
    if (height > 8) QCOMPARE(patternStepAt(150, height, patternRow(area, step)), step);
}

void TestExplorerSession::chainFileTextsStandClearOfTheDrawing_data()
{
    QTest::addColumn<QString>("frequency");
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("paths");
    QTest::newRow("střední, centre, 2003") << "0.6" << 110 << kRunPaths;
    QTest::newRow("vysoký, the bottom, a tangle") << "5" << 0 << kRunPaths;
    QTest::newRow("vysoký, two arrows") << "5" << 200 << 2;
    QTest::newRow("nízký, the top, continuous") << "0.03" << 220 << kInfinitePaths;
    QTest::newRow("vyšší, 50 arrows") << "1" << 37 << 50;
}

// The texts' boxes hold nothing but the white background, at scale 1 and 2: each front end may
// draw its own fonts there. The title spans the band at the top; the scale mark's number stands
// right of the mark, inside the picture.
void TestExplorerSession::chainFileTextsStandClearOfTheDrawing()
{
    QFETCH(QString, frequency);
    QFETCH(int, step);
    QFETCH(int, paths);
    Explorer explorer(*exploreSettingFor(frequency.toStdString(), 350));
    explorer.choose(step, paths);
    for (int scale : {1, 2}) {
        const ChainPixels p = chainPixels(explorer, Language::English, scale);
        QCOMPARE(p.width, kChainPictureWidth * scale);
        QCOMPARE(p.height, kChainPictureHeight * scale);
        QCOMPARE(p.rgba.size(), std::size_t(p.width) * p.height * 4);
        QCOMPARE(p.texts.size(), std::size_t(2));
        const PictureText& title = p.texts[0];
        const PictureText& number = p.texts[1];
        QVERIFY(title.centred && title.bold && !number.centred);
        QCOMPARE(title.box.top, 0.0);
        QCOMPARE(title.box.width, double(kChainPictureWidth));
        QVERIFY(QString::fromStdString(number.text).endsWith(" twips"));
        QVERIFY(number.box.left > 12 && number.box.width > 100);
        QVERIFY(number.box.left + number.box.width <= kChainPictureWidth);
        QVERIFY(number.box.top + number.box.height <= kChainPictureHeight);
        int drawn = 0, underText = 0;
        for (int y = 0; y < p.height; ++y) {
            for (int x = 0; x < p.width; ++x) {
                const std::uint8_t* px = &p.rgba[(std::size_t(y) * p.width + x) * 4];
                const bool white = px[0] == 255 && px[1] == 255 && px[2] == 255 && px[3] == 255;
                drawn += !white;
                for (const PictureText& t : p.texts) {
                    underText += !white && x >= t.box.left * scale &&
                                 x < (t.box.left + t.box.width) * scale && y >= t.box.top * scale &&
                                 y < (t.box.top + t.box.height) * scale;
                }
            }
        }
        QVERIFY(drawn > 300 * scale);
        QCOMPARE(underText, 0);
    }
}

QTEST_APPLESS_MAIN(TestExplorerSession)
#include "tst_explorersession.moc"
