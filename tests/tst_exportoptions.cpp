// The export program's command line: what it accepts, what it refuses and how it says so.
#include <QtTest>
#include <clocale>
#include <set>

#include "app/terminal.h"
#include "export/exportoptions.h"

using namespace kvelmor;
using Action = ParsedCommandLine::Action;

namespace {

// The arguments as the shell passes them: bytes, here UTF-8.
ParsedCommandLine parse(const QStringList& arguments)
{
    QList<QByteArray> bytes;
    for (const QString& argument : arguments) bytes << argument.toUtf8();
    return parseCommandLine(bytes);
}

QString helpText(bool czech)
{
    return QString::fromStdString(
        std::string(text(TextKey::ExportHelp, czech ? Language::Czech : Language::English)));
}

}  // namespace

class TestExportOptions : public QObject {
    Q_OBJECT

private slots:
    void acceptsOneSetting_data();
    void acceptsOneSetting();
    void acceptsAChainOfOneSetting_data();
    void acceptsAChainOfOneSetting();
    void refusesBadArguments_data();
    void refusesBadArguments();
    void allMeansFifteenDistinctSettings();
    void helpSpeaksCzechOrEnglish();
    void czechIsTheLanguageCodeCs_data();
    void czechIsTheLanguageCodeCs();
};

void TestExportOptions::acceptsOneSetting_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("distance");
    QTest::addColumn<int>("scale");
    QTest::newRow("ascii name") << QStringList{"--frequency", "stredni", "--distance",
                                               "350",         "--out",   "d"}
                                << "op06"
                                << "0.6" << 350 << 1;
    QTest::newRow("caption") << QStringList{"--frequency", "nízký", "--distance",
                                            "300",         "--out", "d"}
                             << "op003"
                             << "0.03" << 300 << 1;
    QTest::newRow("box text, = form")
        << QStringList{"--frequency=5", "--distance=400", "--out=d", "--scale=4"} << "op5"
        << "5" << 400 << 4;
    QTest::newRow("decomposed caption (NFD)")
        << QStringList{"--frequency", QString::fromUtf8("str\u030Cedni\u0301"),
                       "--distance",  "350",
                       "--out",       "d"}
        << "op06"
        << "0.6" << 350 << 1;
    QTest::newRow("capitals") << QStringList{"--frequency", QString::fromUtf8("VYSOKÝ"),
                                             "--distance",  "300",
                                             "--out",       "d"}
                              << "op5"
                              << "5" << 300 << 1;
    QTest::newRow("English word") << QStringList{"--frequency", "Lowest", "--distance",
                                                 "300",         "--out",  "d"}
                                  << "op003"
                                  << "0.03" << 300 << 1;
    QTest::newRow("English word, in English")
        << QStringList{"--lang", "en", "--frequency=high", "--distance=400", "--out=d"} << "op1"
        << "1" << 400 << 1;
    QTest::newRow("vyssi at scale 2")
        << QStringList{"--out", "d", "--scale", "2", "--distance", "350", "--frequency", "vyssi"}
        << "op1"
        << "1" << 350 << 2;
}

void TestExportOptions::acceptsOneSetting()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, option);
    QFETCH(QString, text);
    QFETCH(int, distance);
    QFETCH(int, scale);
    const auto parsed = parse(arguments);
    QCOMPARE(parsed.action, Action::Export);
    QCOMPARE(int(parsed.options.settings.size()), 1);
    const ExportSetting& s = parsed.options.settings.front();
    QCOMPARE(s.frequencyOption, option);
    QCOMPARE(s.frequencyText, text);
    QCOMPARE(s.distance, distance);
    QCOMPARE(s.distanceOption, QStringLiteral("opV%1").arg(distance));
    QCOMPARE(parsed.options.scale, scale);
    QCOMPARE(parsed.options.outDir, QByteArray("d"));
}

void TestExportOptions::acceptsAChainOfOneSetting_data()
{
    QTest::addColumn<QStringList>("chain");
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("paths");
    QTest::newRow("bottom, fewest") << QStringList{"--step", "0", "--paths", "2"} << 0 << 2;
    QTest::newRow("top, the run's") << QStringList{"--step=220", "--paths=2003"} << 220 << 2003;
    QTest::newRow("the run's by default") << QStringList{"--step", "110"} << 110 << 2003;
    QTest::newRow("continuous") << QStringList{"--paths", "inf", "--step", "7"} << 7 << 0;
    QTest::newRow("continuous, capitals") << QStringList{"--step", "7", "--paths", "INF"} << 7 << 0;
    QTest::newRow("continuous, the sign") << QStringList{"--step", "7", "--paths", "∞"} << 7 << 0;
    QTest::newRow("leading zero") << QStringList{"--step", "040", "--paths", "0050"} << 40 << 50;
}

void TestExportOptions::acceptsAChainOfOneSetting()
{
    QFETCH(QStringList, chain);
    QFETCH(int, step);
    QFETCH(int, paths);
    const auto parsed =
        parse(QStringList{"--frequency", "vysoky", "--distance", "400", "--out", "d"} + chain);
    QCOMPARE(parsed.action, Action::Export);
    QVERIFY(parsed.options.chain.has_value());
    QCOMPARE(parsed.options.chain->step, step);
    QCOMPARE(parsed.options.chain->paths, paths);
    QCOMPARE(parsed.options.settings.front().frequencyText, QStringLiteral("5"));
    QVERIFY(!parse({"--frequency", "vysoky", "--distance", "400", "--out", "d"}).options.chain);
}

void TestExportOptions::refusesBadArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("mentions");
    QTest::newRow("unknown option")
        << QStringList{"--colour", "red", "--all", "--out", "d"} << "--colour";
    QTest::newRow("unknown frequency")
        << QStringList{"--frequency", "ultra", "--distance", "350", "--out", "d"} << "ultra";
    QTest::newRow("unknown distance")
        << QStringList{"--frequency", "stredni", "--distance", "500", "--out", "d"} << "500";
    QTest::newRow("distance with junk")
        << QStringList{"--frequency", "stredni", "--distance", "350x", "--out", "d"} << "350x";
    QTest::newRow("distance with a space before")
        << QStringList{"--frequency", "stredni", "--distance", " 350", "--out", "d"} << " 350";
    QTest::newRow("distance with a newline after")
        << QStringList{"--frequency", "stredni", "--distance", "350\n", "--out", "d"} << "'350\\n'";
    QTest::newRow("distance with a sign")
        << QStringList{"--frequency", "stredni", "--distance", "+350", "--out", "d"} << "+350";
    QTest::newRow("unknown scale") << QStringList{"--all", "--out", "d", "--scale", "3"} << "3";
    QTest::newRow("no out") << QStringList{"--all"} << "--out";
    QTest::newRow("value missing") << QStringList{"--all", "--out"} << "--out";
    QTest::newRow("no distance") << QStringList{"--frequency", "stredni", "--out", "d"}
                                 << "--distance";
    QTest::newRow("all and one") << QStringList{"--all", "--frequency", "stredni", "--out", "d"}
                                 << "--all";
    QTest::newRow("all and a distance")
        << QStringList{"--all", "--distance", "300", "--out", "d"} << "--all";
    QTest::newRow("all and an empty distance")
        << QStringList{"--all", "--distance=", "--out", "d"} << "--all";
    QTest::newRow("empty out") << QStringList{"--all", "--out="} << "--out";
    QTest::newRow("twice") << QStringList{"--frequency", "stredni", "--distance", "300",
                                          "--distance",  "400",     "--out",      "d"}
                           << "--distance";
    QTest::newRow("all with a value") << QStringList{"--all=no", "--out", "d"} << "'--all'";
    QTest::newRow("help with a value") << QStringList{"--help=x"} << "'--help'";
    QTest::newRow("version with a value") << QStringList{"--version=no"} << "'--version'";
    QTest::newRow("unknown language")
        << QStringList{"--all", "--out", "d", "--lang", "de"} << "'de'";
    QTest::newRow("empty language") << QStringList{"--all", "--out", "d", "--lang="} << "''";
    QTest::newRow("language twice")
        << QStringList{"--lang", "en", "--all", "--lang=en", "--out", "d"} << "--lang";
    QTest::newRow("language without a value")
        << QStringList{"--all", "--out", "d", "--lang"} << "--lang";
    const QStringList one{"--frequency", "stredni", "--distance", "350", "--out", "d"};
    QTest::newRow("step past the top") << one + QStringList{"--step", "221"} << "'221'";
    QTest::newRow("step below the bottom") << one + QStringList{"--step", "-1"} << "'-1'";
    QTest::newRow("step with a space") << one + QStringList{"--step", "1 0"} << "'1 0'";
    QTest::newRow("empty step") << one + QStringList{"--step="} << "''";
    QTest::newRow("step of many digits") << one + QStringList{"--step", "000010"} << "'000010'";
    QTest::newRow("one arrow") << one + QStringList{"--step", "3", "--paths", "1"} << "'1'";
    QTest::newRow("more than the run's")
        << one + QStringList{"--step", "3", "--paths", "2004"} << "'2004'";
    QTest::newRow("no arrows") << one + QStringList{"--step", "3", "--paths", "0"} << "'0'";
    QTest::newRow("infinity spelt out")
        << one + QStringList{"--step", "3", "--paths", "infinity"} << "'infinity'";
    QTest::newRow("paths without a step") << one + QStringList{"--paths", "20"} << "--step";
    QTest::newRow("step with all") << QStringList{"--all", "--out", "d", "--step", "3"} << "--all";
    QTest::newRow("step twice") << one + QStringList{"--step", "3", "--step", "4"} << "--step";
    QTest::newRow("toolkit option")
        << QStringList{"-platform", "xcb", "--all", "--out", "d"} << "-platform";
}

void TestExportOptions::refusesBadArguments()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, mentions);
    const auto parsed = parse(arguments);
    QCOMPARE(parsed.action, Action::Error);
    for (Language language : {Language::English, Language::Czech}) {
        const QString error = parsed.errorText(language);
        QVERIFY2(error.contains(mentions), qPrintable(error));
        QVERIFY(!error.contains('\n'));
    }
}

void TestExportOptions::allMeansFifteenDistinctSettings()
{
    const auto parsed = parse({"--all", "--out", "d"});
    QCOMPARE(parsed.action, Action::Export);
    std::set<std::pair<QString, int>> distinct;
    for (const auto& s : parsed.options.settings) distinct.insert({s.frequencyText, s.distance});
    QCOMPARE(int(distinct.size()), 15);
    QCOMPARE(parse({"--out", "d", "--help"}).action, Action::Help);
    QCOMPARE(parse({"--version"}).action, Action::Version);
}

void TestExportOptions::helpSpeaksCzechOrEnglish()
{
    const QString english = helpText(false);
    const QString czech = helpText(true);
    QVERIFY(english.startsWith("Usage: kvelmor-export"));
    QVERIFY(english.contains("kvelmor-F-D-plot.svg") && czech.contains("kvelmor-F-D-plot.svg"));
    QVERIFY(english.contains("kvelmor-F-D-plot.png") && czech.contains("kvelmor-F-D-plot.png"));
    QVERIFY(english.contains("without spaces") && czech.contains("bez mezer"));
    QVERIFY(czech.startsWith(QStringLiteral("Použití: kvelmor-export")));
    QVERIFY(english.contains("step-J-paths-N.svg") && czech.contains("step-J-paths-N.svg"));
    for (const char* option : {"--frequency", "--distance", "--all", "--out", "--scale", "--lang",
                               "--step", "--paths", "--help", "--version"}) {
        QVERIFY2(english.contains(option) && czech.contains(option), option);
    }
}

void TestExportOptions::czechIsTheLanguageCodeCs_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<bool>("czech");
    QTest::newRow("cs_CZ.UTF-8") << "cs_CZ.UTF-8" << true;
    QTest::newRow("cs") << "cs" << true;
    QTest::newRow("cs_CZ@euro") << "cs_CZ@euro" << true;
    QTest::newRow("cs.UTF-8") << "cs.UTF-8" << true;
    QTest::newRow("csb_PL (Kashubian)") << "csb_PL.UTF-8" << false;
    QTest::newRow("csb") << "csb" << false;
    QTest::newRow("C") << "C" << false;
    QTest::newRow("en_GB") << "en_GB.UTF-8" << false;
    QTest::newRow("sk_SK") << "sk_SK.UTF-8" << false;
}

void TestExportOptions::czechIsTheLanguageCodeCs()
{
    QFETCH(QString, locale);
    QFETCH(bool, czech);
    QCOMPARE(isCzechLocale(locale), czech);
}

QTEST_APPLESS_MAIN(TestExportOptions)
#include "tst_exportoptions.moc"
