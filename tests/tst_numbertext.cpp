// The settings boxes hold numbers as text; writers and the run's comparisons must agree on every
// text, whatever the user's locale.
#include <QtTest>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <locale>
#include <random>
#include <string>
#include <vector>

#include "run/numbertext.h"
#include "run/pacing.h"
#include "run/phasor.h"

using namespace kvelmor;

class TestNumberText : public QObject {
    Q_OBJECT

private slots:
    void writesPlainDecimalText_data();
    void writesPlainDecimalText();
    void readsBackEveryTextItWrites();
    void writesTheFewestDecimalsThatReadBack();
    void readsDamagedTextAsZero_data();
    void readsDamagedTextAsZero();
    void ignoresACzechLocale();
    void paceGrowsLinearlyAndStaysBounded();
};

void TestNumberText::writesPlainDecimalText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("whole distance") << 350.0 << "350";
    QTest::newRow("default count") << 1.0 << "1";
    QTest::newRow("slowest option, no exponent") << 1000000.0 << "1000000";
    QTest::newRow("scroll bar maximum") << 983011.0 << "983011";
    QTest::newRow("nízký") << 0.03 << "0.03";
    QTest::newRow("nižší") << 0.2 << "0.2";
    QTest::newRow("střední") << 0.6 << "0.6";
    QTest::newRow("scroll value 10") << 10 * 30.0 + 1 << "301";
}

void TestNumberText::writesPlainDecimalText()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(numberText(value)), text);
}

void TestNumberText::readsBackEveryTextItWrites()
{
    for (int v = 0; v <= 32767; ++v) {
        const double count = v * 30.0 + 1;
        QCOMPARE(numberFromText(numberText(count)), count);
    }
    for (double x : {0.03, 0.2, 0.6, 1.0, 5.0, 0.1 + 0.2, 1e-7, 123456.789}) {
        QCOMPARE(numberFromText(numberText(x)), x);
    }
    QCOMPARE(numberFromText(" 350 "), 350.0);
}

// The text of the fewest decimals, correctly rounded, that reads back exactly: found here by
// trying 0, 1, 2, ... decimals with the C library, for values of every size, the CSV's among
// them, powers of two (whose lower neighbour lies closer than the upper one) and halves.
void TestNumberText::writesTheFewestDecimalsThatReadBack()
{
    std::setlocale(LC_NUMERIC, "C");  // the C library's decimal point
    auto fewestDecimals = [](double value) {
        char text[1200];
        for (int decimals = 0;; ++decimals) {
            std::snprintf(text, sizeof text, "%.*f", decimals, value);
            if (std::strtod(text, nullptr) == value) return std::string(text);
        }
    };
    std::vector<double> values{0,
                               -0.0,
                               0.5,
                               2.5,
                               -1.5,
                               1e-300,
                               4.9e-324,
                               1e15,
                               0x1p52,
                               0x1p53,
                               0.1 + 0.2,
                               3756.5,
                               29154.931415926535,
                               6000,
                               7000.25};
    std::mt19937_64 random(26);
    std::uniform_real_distribution<double> exponent(-30, 22), unit(-1, 1);
    for (int n = 0; n < 20000; ++n)
        values.push_back(unit(random) * std::pow(10.0, exponent(random)));
    for (int power = -60; power <= 60; ++power) {
        for (double near : {std::nextafter(std::ldexp(1.0, power), 0.0), std::ldexp(1.0, power),
                            std::nextafter(std::ldexp(1.0, power), 1e300)})
            values.push_back(near);
    }
    for (double value : values) {
        QCOMPARE(numberText(value), fewestDecimals(value));
    }
}

void TestNumberText::readsDamagedTextAsZero_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("placeholder") << "Spomaleni";
    QTest::newRow("empty") << "";
    QTest::newRow("decimal comma") << "0,6";
    QTest::newRow("trailing garbage") << "12abc";
    QTest::newRow("leading plus") << "+5";
    QTest::newRow("leading tab") << "\t350";
    QTest::newRow("thousands grouping") << "983 011";
}

void TestNumberText::readsDamagedTextAsZero()
{
    QFETCH(QString, text);
    QCOMPARE(numberFromText(text.toStdString()), 0.0);
}

// A Czech desktop writes 0.6 as "0,6" in C's and Qt's locale-aware conversions; the boxes must not.
void TestNumberText::ignoresACzechLocale()
{
    if (!std::setlocale(LC_ALL, "cs_CZ.UTF-8"))
        QSKIP("the cs_CZ.UTF-8 locale is not generated here");
    char czech[16];
    std::snprintf(czech, sizeof czech, "%.1f", 0.6);
    QCOMPARE(QString::fromLatin1(czech), QStringLiteral("0,6"));  // the locale is really in force

    QCOMPARE(QString::fromStdString(numberText(0.6)), QStringLiteral("0.6"));
    QCOMPARE(numberFromText(numberText(0.03)), 0.03);
    for (double f : {0.03, 0.2, 0.6, 1.0, 5.0}) {
        QVERIFY2(waveForFrequency(numberText(f)).has_value(), qPrintable(QString::number(f)));
    }
    std::setlocale(LC_ALL, "C");

    // A program may also install a Czech C++ global locale, which streams pick up by default.
    const std::locale previous = std::locale::global(std::locale("cs_CZ.UTF-8"));
    QCOMPARE(QString::fromStdString(numberText(0.6)), QStringLiteral("0.6"));
    QCOMPARE(QString::fromStdString(numberText(983011)), QStringLiteral("983011"));
    QCOMPARE(numberFromText("0.03"), 0.03);
    QCOMPARE(numberFromText("0,6"), 0.0);
    std::locale::global(previous);
}

void TestNumberText::paceGrowsLinearlyAndStaysBounded()
{
    using std::chrono::nanoseconds;
    QCOMPARE(paceDuration(1), nanoseconds(50));
    QCOMPARE(paceDuration(983011), nanoseconds(983011LL * 50));
    QCOMPARE(paceDuration(2000000), 2 * paceDuration(1000000));
    QCOMPARE(paceDuration(0), nanoseconds(0));
    QCOMPARE(paceDuration(-5), nanoseconds(0));
    QCOMPARE(paceDuration(std::nan("")), nanoseconds(0));
    QVERIFY(paceDuration(1e300) <= std::chrono::seconds(10));
}

QTEST_APPLESS_MAIN(TestNumberText)
#include "tst_numbertext.moc"
