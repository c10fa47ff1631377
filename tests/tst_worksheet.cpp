// The worksheet library on its own: the program's own cosine, sine and arctangent against long
// double, a setting's numbers against an independent sum and libm's quadrature, and the CSV and
// SVG texts as a strict reader takes them.
#include <QtTest>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include "independentsum.h"
#include "run/continuousslit.h"
#include "run/numbertext.h"
#include "run/phasor.h"
#include "run/portablemath.h"
#include "run/portablesums.h"
#include "worksheet/svgtext.h"
#include "worksheet/worksheet.h"

using namespace kvelmor;

namespace {

// How many units in the last place `got` lies from `exact`.
double ulpsFrom(double got, long double exact)
{
    const double nearest = static_cast<double>(exact);
    const double ulp = std::nextafter(std::abs(nearest), INFINITY) - std::abs(nearest);
    return static_cast<double>(std::abs(got - exact) / ulp);
}

const char* const kFrequencies[] = {"0.03", "0.2", "0.6", "1", "5"};
const int kDistances[] = {300, 350, 400};
// 8-point Gauss-Legendre's positive nodes and their weights, to 20 digits, for the long double
// quadrature the program's is held against.
const long double kNodes[4] = {0.18343464249564980494L, 0.52553240991632898582L,
                               0.79666647741362673959L, 0.96028985649753623168L};
const long double kWeights[4] = {0.36268378337836198297L, 0.31370664587788728734L,
                                 0.22238103445337447054L, 0.10122853629037625915L};

}  // namespace

class TestWorksheet : public QObject {
    Q_OBJECT

private slots:
    void cosSinAreAccurateOverTheSumsAngles();
    void manyAtOnceAreOneAtATime();
    void atan2IsAccurateInEveryQuadrant();
    void numbersAgreeWithAnIndependentSum();
    void csvIsSixNumbersAStep();
    void unknownSettingsGiveNoWorksheet();
    void svgTextsAreExact();
};

// Angles of the kind the sums take (up to 30000 radians), near the quarter turns where the
// reduction cancels, and tiny ones: cos and sin within 2.5e-16 and 3 units in the last place of
// long double's; what is not a number stays so.
void TestWorksheet::cosSinAreAccurateOverTheSumsAngles()
{
    std::vector<double> angles{0, -0.0, 1e-300, 1e-8, -0.5, 0.7853981633974483, 3.14159, -1e6};
    std::mt19937_64 random(16);
    std::uniform_real_distribution<double> anywhere(-30000, 30000), wiggle(-1e-6, 1e-6);
    for (int n = 0; n < 20000; ++n) {
        angles.push_back(anywhere(random));
        const long double quarter = std::round(anywhere(random)) * 1.5707963267948966192L;
        angles.push_back(static_cast<double>(quarter) + wiggle(random));
    }
    double worst = 0;
    for (double angle : angles) {
        const CosSin got = portableCosSin(angle);
        const long double c = std::cos(static_cast<long double>(angle));
        const long double s = std::sin(static_cast<long double>(angle));
        QVERIFY2(std::abs(got.cos - c) <= 2.5e-16L && std::abs(got.sin - s) <= 2.5e-16L,
                 qPrintable(QString::number(angle, 'g', 17)));
        if (std::abs(c) > 1e-3) worst = std::max(worst, ulpsFrom(got.cos, c));
        if (std::abs(s) > 1e-3) worst = std::max(worst, ulpsFrom(got.sin, s));
    }
    QVERIFY2(worst <= 3, qPrintable(QString::number(worst)));
    for (double odd :
         {std::numeric_limits<double>::quiet_NaN(), double(INFINITY), -double(INFINITY), 1e300}) {
        QVERIFY(std::isnan(portableCosSin(odd).cos) && std::isnan(portableCosSin(odd).sin));
    }
}

// The cosines and sines of a step's arrows are computed several at a time: bit for bit what one
// at a time gives, whatever the angle, and whatever the count (odd, so that some are left over).
void TestWorksheet::manyAtOnceAreOneAtATime()
{
    std::vector<double> angles{0,        -0.0,      1e-310,       -2.5,    1e6,  1e300,
                               INFINITY, -INFINITY, std::nan(""), 29154.9, -7.85};
    std::mt19937_64 random(2003);
    std::uniform_real_distribution<double> anywhere(-30000, 30000);
    while (angles.size() < 4099) angles.push_back(anywhere(random));
    std::vector<double> cosines(angles.size()), sines(angles.size());
    portableCosSins(angles.data(), cosines.data(), sines.data(), int(angles.size()));
    for (std::size_t i = 0; i < angles.size(); ++i) {
        const CosSin one = portableCosSin(angles[i]);
        QVERIFY2(std::memcmp(&one.cos, &cosines[i], sizeof(double)) == 0 &&
                     std::memcmp(&one.sin, &sines[i], sizeof(double)) == 0,
                 qPrintable(QString::number(angles[i], 'g', 17)));
    }
}

void TestWorksheet::atan2IsAccurateInEveryQuadrant()
{
    std::mt19937_64 random(19);
    std::uniform_real_distribution<double> coordinate(-1000, 1000);
    double worst = 0;
    for (int n = 0; n < 50000; ++n) {
        const double y = coordinate(random) * (n % 3 == 0 ? 1e-9 : 1);
        const double x = coordinate(random);
        worst = std::max(
            worst, ulpsFrom(portableAtan2(y, x),
                            std::atan2(static_cast<long double>(y), static_cast<long double>(x))));
    }
    QVERIFY2(worst <= 3, qPrintable(QString::number(worst)));
    // Axes, signed zeros and infinities: exactly what the C library gives.
    const double special[] = {0, -0.0, 1, -1, INFINITY, -INFINITY};
    for (double y : special) {
        for (double x : special) {
            const double expected = std::atan2(y, x), got = portableAtan2(y, x);
            QVERIFY2(got == expected && std::signbit(got) == std::signbit(expected),
                     qPrintable(QStringLiteral("atan2(%1, %2) = %3").arg(y).arg(x).arg(got)));
        }
    }
    QVERIFY(std::isnan(portableAtan2(std::nan(""), 1)) &&
            std::isnan(portableAtan2(1, std::nan(""))));
}

// Every setting's table: the steps in order, the squared lengths within 1e-9 of all arrows in line
// of a long double sum, the bars scaled as the window scales them, the angle that of libm's sum,
// and the continuous slit as a long double quadrature gives it, on as many panels.
void TestWorksheet::numbersAgreeWithAnIndependentSum()
{
    for (const char* frequency : kFrequencies) {
        const Wave wave = *waveForFrequency(frequency);
        const double allInLine = std::pow(kArrowsPerStep * wave.arrowLength, 2);
        for (int distance : kDistances) {
            const Scene scene = Scene::forDistance(distance);
            const std::vector<StepRow> rows = settingTable(frequency, distance);
            QCOMPARE(rows.size(), std::size_t(221));
            for (std::size_t n = 0; n < rows.size(); ++n) {
                const StepRow& row = rows[n];
                const int j = 500 + 25 * int(n);
                QCOMPARE(row.j, j);
                QCOMPARE(row.detectorY, 7500.0 - j);
                QCOMPARE(row.barLength,
                         row.squaredLength * *barScaleForDistance(std::to_string(distance)));
                if (n % 5 != 0) continue;
                const QString where =
                    QStringLiteral("%1/%2 j=%3").arg(frequency).arg(distance).arg(j);
                const long double expected =
                    independent::squaredLength(independent::waveFor(frequency), distance, j);
                const StepSum libm = sumArrowsBy(SumPath::scalar, scene, wave, j);
                const double angle =
                    std::atan2(libm.tip.y - row.detectorY, libm.tip.x - scene.detectorX);
                const independent::Continuous quadrature = independent::continuousSquaredLength(
                    independent::waveFor(frequency), distance, j, kNodes, kWeights);
                const ContinuousSum own = continuousSquaredLength(scene, wave, j);
                QCOMPARE(own.squaredLength, row.continuousSquaredLength);
                QCOMPARE(own.panels, quadrature.panels);
                QVERIFY2(
                    std::abs(row.squaredLength - expected) <= 1e-9 * allInLine &&
                        std::abs(row.squaredLength - libm.squaredLength) <= 1e-12 * allInLine &&
                        std::abs(std::remainder(row.sumAngle - angle, 2 * M_PI)) < 1e-6 &&
                        std::abs(own.squaredLength - double(quadrature.squaredLength)) <=
                            1e-12 * allInLine,
                    qPrintable(where));
            }
        }
    }
}

// The CSV: the header, then per step its six numbers as the settings boxes write them (the
// shortest text that reads back exactly), separated by commas and ended by a newline, nothing
// more. kvelmor-export's files are read strictly in tst_export.
void TestWorksheet::csvIsSixNumbersAStep()
{
    const std::vector<StepRow> rows{
        {500, 7000, 0.5, 0.0085, -1.25, 2, true},
        {525, 6975, 1424.6517963974431, 1e-7, 3.141592653589793, 0, true}};
    QCOMPARE(csvText(rows),
             std::string("j,detector_y_twips,squared_length,bar_length_twips,sum_angle_rad,"
                         "continuous_squared_length\n"
                         "500,7000,0.5,0.0085,-1.25,2\n"
                         "525,6975,1424.6517963974431,0.0000001,3.141592653589793,0\n"));
}

void TestWorksheet::unknownSettingsGiveNoWorksheet()
{
    QVERIFY(worksheetFor("0.6", 350, Language::English).has_value());
    for (auto [frequency, distance] : std::initializer_list<std::pair<const char*, int>>{
             {"0.5", 350}, {"", 350}, {"0.60", 350}, {"0.6", 351}, {"0.6", 0}}) {
        QVERIFY2(!worksheetFor(frequency, distance, Language::Czech), frequency);
        QVERIFY(settingTable(frequency, distance).empty());
    }
    const std::pair<const char*, const char*> captions[] = {
        {"0.03", "nízký"}, {"0.2", "nižší"}, {"0.6", "střední"}, {"1", "vyšší"}, {"5", "vysoký"}};
    for (auto [text, caption] : captions)
        QCOMPARE(frequencyCaption(text, Language::Czech), std::string_view(caption));
    QVERIFY(frequencyCaption("350", Language::Czech).empty());
}

void TestWorksheet::svgTextsAreExact()
{
    const std::pair<double, const char*> numbers[] = {{0, "0"},
                                                      {-0.0004, "0"},
                                                      {1.25, "1.25"},
                                                      {466.6666, "466.667"},
                                                      {-3.5, "-3.5"},
                                                      {99.9996, "100"},
                                                      {0.001, "0.001"},
                                                      {1e13, "1000000000000"},
                                                      {std::nan(""), "0"},
                                                      {-7000.05, "-7000.05"}};
    for (auto [value, text] : numbers) QCOMPARE(svgNumber(value), std::string(text));
    QCOMPARE(xmlEscaped("a<b & \"c\">"), std::string("a&lt;b &amp; &quot;c&quot;&gt;"));
}

QTEST_MAIN(TestWorksheet)
#include "tst_worksheet.moc"
