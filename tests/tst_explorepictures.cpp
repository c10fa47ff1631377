// The explorer's pictures, picks and files on their own: the chain fitted to its area with every
// arrow, the scale mark, the pattern and the steps a point picks in it and in the window, the CSV
// and SVG of a chain, and the readouts' numbers and texts.
#include <QXmlStreamReader>
#include <QtTest>
#include <cmath>

#ifndef Q_MOC_RUN  // moc cannot read the Czech identifiers of these headers, nor needs them
#include "canvas/recordingsurface.h"
#include "explore/chainfiles.h"
#include "explore/chainpicture.h"
#include "explore/paths.h"
#include "explore/patternpicture.h"
#include "explore/readouts.h"
#include "explore/windowpick.h"
#include "run/numbertext.h"
#endif

using namespace kvelmor;
using Primitive = RecordingSurface::Primitive;

namespace {

int countLines(const RecordingSurface& drawing, Colour colour, int width)
{
    int n = 0;
    for (const Primitive& p : drawing.primitives()) n += p.colour == colour && p.lineWidth == width;
    return n;
}

}  // namespace

class TestExplorePictures : public QObject {
    Q_OBJECT

private slots:
    void chainFillsItsAreaWithEveryArrow_data();
    void chainFillsItsAreaWithEveryArrow();
    void scaleMarkIsARoundLengthThatFits();
    void patternShowsTheKnownStepsAndTheChosenOne();
    void patternPointPicksTheStepOfItsBand();
    void windowPointPicksAStepOnTheLinesAndBars_data();
    void windowPointPicksAStepOnTheLinesAndBars();
    void csvHoldsTheChainPointByPoint();
    void svgHasTitleScaleAndReadouts();
    void readoutsAreWrittenAsEachLanguageWritesNumbers();
    void sumArrowTurnsAreCounted();
    void pathDifferenceIsZeroOnTheAxis();
};

void TestExplorePictures::chainFillsItsAreaWithEveryArrow_data()
{
    QTest::addColumn<int>("paths");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::newRow("2, square") << 2 << 400 << 400;
    QTest::newRow("20, wide") << 20 << 700 << 300;
    QTest::newRow("2003, tall") << 2003 << 300 << 640;
    QTest::newRow("infinity") << kInfinitePaths << 500 << 500;
}

// Every arrow is drawn (N black lines besides the scale mark's three), the curve behind it, one
// green sum arrow from D to the tip, all inside the area, and the chain spans the free room in
// one direction.
void TestExplorePictures::chainFillsItsAreaWithEveryArrow()
{
    QFETCH(int, paths);
    QFETCH(int, width);
    QFETCH(int, height);
    Explorer explorer(*exploreSettingFor("0.6", 350));
    explorer.choose(60, paths);
    const PictureArea area{10, 20, double(width), double(height)};
    RecordingSurface drawing;
    const ScaleMark mark = drawChainPicture(drawing, explorer.chain(), explorer.curve(),
                                            paths == kInfinitePaths, area);
    QVERIFY(mark.twips > 0);
    if (paths != kInfinitePaths) QCOMPARE(countLines(drawing, kExploreChain, 1), paths + 3);
    QVERIFY(countLines(drawing, kExploreCurve, 3) > 10);
    QCOMPARE(countLines(drawing, kExploreSum, 3), 1);

    double left = 1e9, right = -1e9, top = 1e9, bottom = -1e9;
    for (const Primitive& p : drawing.primitives()) {
        QCOMPARE(p.unit, ScaleUnit::Pixels);
        for (auto [x, y] : {std::pair(p.x1, p.y1), std::pair(p.x2, p.y2)}) {
            QVERIFY(x >= area.left && x <= area.left + area.width);
            QVERIFY(y >= area.top && y <= area.top + area.height);
            if (p.colour == kExploreChain && p.lineWidth == 1 && y < mark.y - 5) {
                left = std::min<double>(left, x), right = std::max<double>(right, x);
                top = std::min<double>(top, y), bottom = std::max<double>(bottom, y);
            }
        }
    }
    QVERIFY(right - left > 0.85 * (width - 24) || bottom - top > 0.85 * (height - 54));
    // The sum arrow joins the first point of the chain to its last.
    const Primitive& sum =
        *std::find_if(drawing.primitives().begin(), drawing.primitives().end(),
                      [](const Primitive& p) { return p.colour == kExploreSum; });
    const Primitive& first =
        *std::find_if(drawing.primitives().begin(), drawing.primitives().end(),
                      [](const Primitive& p) { return p.colour == kExploreChain; });
    QCOMPARE(sum.x1, first.x1);
    QCOMPARE(sum.y1, first.y1);
}

void TestExplorePictures::scaleMarkIsARoundLengthThatFits()
{
    const std::pair<double, int> cases[] = {{0.5, 0},     {1, 1},        {1.9, 1}, {2, 2},
                                            {4.9, 2},     {7, 5},        {10, 10}, {99, 50},
                                            {2500, 2000}, {49999, 20000}};
    for (auto [most, twips] : cases) QCOMPARE(scaleMarkTwips(most), twips);
    QCOMPARE(scaleMarkText(1, Language::Czech), std::string("1 twip"));
    QCOMPARE(scaleMarkText(2, Language::Czech), std::string("2 twipy"));
    QCOMPARE(scaleMarkText(5000, Language::Czech), std::string("5\u00A0000 twipů"));
    QCOMPARE(scaleMarkText(5000, Language::English), std::string("5,000 twips"));
}

void TestExplorePictures::patternShowsTheKnownStepsAndTheChosenOne()
{
    PatternValues values{std::vector<double>(kStepCount, NAN),
                         std::vector<double>(kStepCount, NAN)};
    for (int step = 0; step <= 100; ++step) {
        values.squaredLengths[step] = 1 + step;
        values.continuous[step] = 2 + step;
    }
    const PictureArea area{0, 0, 150, 442};
    RecordingSurface drawing;
    drawPattern(drawing, values, 40, area);
    QCOMPARE(countLines(drawing, kPatternBars, 2), 101);
    QCOMPARE(countLines(drawing, kPatternCurve, 2), 100);
    QCOMPARE(countLines(drawing, kPatternChosen, 2), 1);
    // The longest value known, the continuous slit's at step 100, reaches the right edge.
    float furthest = 0;
    for (const Primitive& p : drawing.primitives()) furthest = std::max({furthest, p.x1, p.x2});
    QCOMPARE(furthest, 150.0f);

    // A run going on shows the steps it has drawn; their values are the run's.
    Explorer explorer(*exploreSettingFor("0.2", 300));
    const PatternValues halfway = patternOf(explorer, 110);
    QCOMPARE(halfway.squaredLengths[110], explorer.runSquaredLength(110));
    QCOMPARE(halfway.continuous[0], explorer.continuousSum(0).squaredLength);
    QVERIFY(std::isnan(halfway.squaredLengths[111]) && std::isnan(halfway.continuous[220]));
    QVERIFY(!explorer.continuousKnown(111));
}

void TestExplorePictures::patternPointPicksTheStepOfItsBand()
{
    const PictureArea area{30, 40, 120, 442};
    for (int step = 0; step < kStepCount; ++step) {
        QCOMPARE(stepAtPatternPoint(area, 31, patternRow(area, step)), std::optional(step));
    }
    QCOMPARE(stepAtPatternPoint(area, 100, 40 + 442 - 0.5), std::optional(0));
    QCOMPARE(stepAtPatternPoint(area, 100, 40.5), std::optional(kLastStep));
    QCOMPARE(stepAtPatternPoint(area, 100, 39), std::nullopt);
    QCOMPARE(stepAtPatternPoint(area, 29, 100), std::nullopt);
    QCOMPARE(stepAtPatternPoint(area, 150, 100), std::nullopt);
}

void TestExplorePictures::windowPointPicksAStepOnTheLinesAndBars_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<int>("step");  // -1: nothing
    // The detector line at 5500 (distance 350); the bars 100 twips long, 2000 at step 120.
    QTest::newRow("detector line, bottom") << 5500.0 << 7000.0 << 0;
    QTest::newRow("detector line, top") << 5500.0 << 1500.0 << 220;
    QTest::newRow("beside the line") << 5580.0 << 4000.0 << 120;
    QTest::newRow("between step heights") << 5500.0 << 4010.0 << 120;
    QTest::newRow("too far from the line") << 5600.0 << 4000.0 << -1;
    QTest::newRow("probability axis") << 7450.0 << 6000.0 << 40;
    QTest::newRow("short bar") << 7580.0 << 6000.0 << 40;
    QTest::newRow("past a short bar") << 7800.0 << 6000.0 << -1;
    QTest::newRow("long bar") << 9400.0 << 4000.0 << 120;
    QTest::newRow("next to the long bar") << 9400.0 << 4050.0 << 118;
    QTest::newRow("past the long bar") << 9600.0 << 4000.0 << -1;
    QTest::newRow("above the top step") << 5500.0 << 1380.0 << -1;
    QTest::newRow("below the bottom step") << 5500.0 << 7120.0 << -1;
    QTest::newRow("the slit") << 3500.0 << 3500.0 << -1;
}

void TestExplorePictures::windowPointPicksAStepOnTheLinesAndBars()
{
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(int, step);
    std::vector<double> bars(kStepCount, 100);
    bars[120] = 2000;
    const std::optional<int> picked = stepAtWindowPoint(Scene::forDistance(350), bars, x, y, 90);
    QCOMPARE(picked.value_or(-1), step);
}

void TestExplorePictures::csvHoldsTheChainPointByPoint()
{
    Explorer explorer(*exploreSettingFor("1", 300));
    explorer.choose(12, 5);
    const Chain& chain = explorer.chain();
    const QStringList lines =
        QString::fromStdString(chainCsv(chain)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 7);
    QCOMPARE(lines[0], QStringLiteral("arrow,x_twips,y_twips"));
    for (int i = 0; i < 6; ++i) {
        const QStringList fields = lines[i + 1].split(QLatin1Char(','));
        QCOMPARE(fields.size(), 3);
        QCOMPARE(fields[0].toInt(), i);
        QCOMPARE(numberFromText(fields[1].toStdString()), chain[i].x);
        QCOMPARE(numberFromText(fields[2].toStdString()), chain[i].y);
    }
    QCOMPARE(chainFileBase(explorer.setting(), 12, 5),
             std::string("kvelmor-1-300-step-12-paths-5"));
    QCOMPARE(chainFileBase(explorer.setting(), 220, kInfinitePaths),
             std::string("kvelmor-1-300-step-220-paths-inf"));
}

void TestExplorePictures::svgHasTitleScaleAndReadouts()
{
    Explorer explorer(*exploreSettingFor("0.6", 350));
    explorer.choose(110, kRunPaths);
    for (const auto& [language, says] :
         {std::pair(Language::Czech,
                    "Kmitočet fotonu: střední, Detektor-Clona: 350, krok 110, N = 2003"),
          std::pair(Language::English,
                    "Photon frequency: medium, detector to slit: 350, step 110, N = 2003")}) {
        const QString svg = QString::fromStdString(chainSvg(explorer, language));
        QXmlStreamReader reader(svg);
        QStringList texts;
        QString title, description;
        while (!reader.atEnd()) {
            reader.readNext();
            if (!reader.isStartElement()) continue;
            if (reader.name() == QLatin1String("title"))
                title = reader.readElementText();
            else if (reader.name() == QLatin1String("desc"))
                description = reader.readElementText();
            else if (reader.name() == QLatin1String("text"))
                texts << reader.readElementText();
        }
        QVERIFY2(!reader.hasError(), qPrintable(reader.errorString()));
        QCOMPARE(title, QString::fromUtf8(says));
        QCOMPARE(texts.size(), 2);  // the title and the scale mark's number
        QCOMPARE(texts[0], title);
        QVERIFY(texts[1].contains(QStringLiteral("twip")));
        const std::string lines = readoutLines(readoutsOf(explorer), language);
        QCOMPARE(description, QString::fromStdString(lines));
        QCOMPARE(description.count(QLatin1Char('\n')), 7);
    }
}

void TestExplorePictures::readoutsAreWrittenAsEachLanguageWritesNumbers()
{
    const Readouts r{100, 3000, 4500, kRunPaths, 2.345, 1.25, 1234.567, 0.4523, 0.031};
    const ReadoutTexts cs = readoutTexts(r, Language::Czech);
    QCOMPARE(cs.height, std::string("y = 4\u00A0500 twipů, krok 100 z 220"));
    QCOMPARE(cs.paths, std::string("N = 2003"));
    QCOMPARE(cs.pathDifference, std::string("2,35 vlnové délky"));  // 2.345 lies just below
    QCOMPARE(cs.turns, std::string("1,3 otáčky"));
    QCOMPARE(cs.squaredLength, std::string("1\u00A0235"));
    QCOMPARE(cs.share, std::string("45,2 %"));
    QCOMPARE(cs.againstContinuous, std::string("+3,1 %"));
    const ReadoutTexts en = readoutTexts(r, Language::English);
    QCOMPARE(en.height, std::string("y = 4,500 twips, step 100 of 220"));
    QCOMPARE(en.turns, std::string("1.3 turns"));
    QCOMPARE(en.share, std::string("45.2%"));

    const Readouts dark{0, 500, 7000, kInfinitePaths, 0, 0, 0.012345, 0, NAN};
    const ReadoutTexts none = readoutTexts(dark, Language::Czech);
    QCOMPARE(none.paths, std::string("N = ∞"));
    QCOMPARE(none.squaredLength, std::string("0,01235"));
    QCOMPARE(none.share, std::string("0,0 %"));
    QCOMPARE(none.againstContinuous, std::string("nelze určit"));
    QCOMPARE(readoutTexts({0, 500, 7000, 2, 0, 0, 1, 1, -0.5}, Language::English).againstContinuous,
             std::string("-50.0%"));
    QCOMPARE(readoutsAnnouncement(r, Language::English),
             std::string("Step 100, N = 2003: squared length of the sum 1,235, 45.2% of the "
                         "highest bar."));
}

void TestExplorePictures::sumArrowTurnsAreCounted()
{
    const Chain straight{{0, 0}, {1, 0}, {2, 0}, {3, 0}};
    const Chain once{{0, 0}, {1, 0}, {1, 1}, {-1, 1}, {-1, -1}, {1, -1}, {1, 0}};
    Chain twice = once;
    twice.insert(twice.end(), once.begin() + 2, once.end());
    const Chain backAndForth{{0, 0}, {1, 0}, {1, 1}, {1, 0}, {1, -1}, {1, 0}};
    const Chain throughD{{0, 0}, {1, 0}, {0, 0}, {-1, 0}};  // D itself does not count
    Chain clockwise(once.rbegin(), once.rend() - 1);        // the same square, the other way round
    clockwise.insert(clockwise.begin(), Point{0, 0});
    QCOMPARE(sumArrowTurns(straight), 0.0);
    QVERIFY(std::abs(sumArrowTurns(once) - 1) < 1e-12);
    QVERIFY(std::abs(sumArrowTurns(twice) - 2) < 1e-12);
    QVERIFY(std::abs(sumArrowTurns(clockwise) - 1) < 1e-12);
    // From -170 to 170 degrees the arrow turns 20 degrees back across the half turn, either way.
    const double degree = M_PI / 180;
    for (double sign : {1.0, -1.0}) {
        const Chain acrossTheHalfTurn{
            {0, 0},
            {std::cos(-170 * sign * degree), std::sin(-170 * sign * degree)},
            {std::cos(170 * sign * degree), std::sin(170 * sign * degree)}};
        QVERIFY(std::abs(sumArrowTurns(acrossTheHalfTurn) - 20.0 / 360) < 1e-12);
    }
    QVERIFY(std::abs(sumArrowTurns(backAndForth)) < 1e-12);
    QVERIFY(std::abs(sumArrowTurns(throughD) - 0.5) < 1e-12);
}

// On the axis's height both edges of the slit are as far away; 1000 twips below it the
// difference is sqrt(d^2 + 2000^2) - d, in wavelengths 2 pi / f.
void TestExplorePictures::pathDifferenceIsZeroOnTheAxis()
{
    const Scene scene = Scene::forDistance(350);  // 2000 twips behind the slit
    const Wave wave{1, 0.05};
    QCOMPARE(edgePathDifference(scene, wave, Scene::benchBottom - Scene::axisY), 0.0);
    const double expected = (std::sqrt(2000.0 * 2000 + 2000.0 * 2000) - 2000) * 0.05 / (2 * M_PI);
    QVERIFY(std::abs(edgePathDifference(scene, wave, Scene::benchBottom - 4500) - expected) <
            1e-12);
}

QTEST_APPLESS_MAIN(TestExplorePictures)
#include "tst_explorepictures.moc"
