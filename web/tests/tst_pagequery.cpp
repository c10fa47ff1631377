// The page's address: every frequency name that kvelmor-export's --frequency takes, a count with
// leading zeros, a key given twice with the same value; and what is still left out, named.
#include <QtTest>

#include "web/pagequery.h"
#include "web/typedname.h"

using namespace kvelmor;

class TestPageQuery : public QObject {
    Q_OBJECT

private slots:
    void readsWhatTheExportReads_data();
    void readsWhatTheExportReads();
    void typedNamesFoldCaseAndAccents_data();
    void typedNamesFoldCaseAndAccents();
    void writesWhatItReads();
};

void TestPageQuery::readsWhatTheExportReads_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("frequency");  // the option taken, or empty
    QTest::addColumn<QString>("distance");
    QTest::addColumn<int>("scroll");  // -1: not taken
    QTest::addColumn<QString>("language");
    QTest::addColumn<QStringList>("ignored");
    const auto row = [](const char* name, const char* query, const char* frequency,
                        const char* distance, int scroll, const char* language,
                        QStringList ignored = {}) {
        QTest::newRow(name) << QString::fromUtf8(query) << QString::fromUtf8(frequency)
                            << QString::fromUtf8(distance) << scroll << QString::fromUtf8(language)
                            << ignored;
    };
    row("ascii words", "kmitocet=VySoKy&vzdalenost=300&zpomaleni=7", "op5", "opV300", 7, "");
    row("czech caption", "kmitocet=n%C3%ADzk%C3%BD", "op003", "", -1, "");
    row("czech capitals", "kmitocet=ST%C5%98EDN%C3%8D", "op06", "", -1, "");
    row("combining accents", "kmitocet=vys%CC%8Cs%CC%8Ci%CC%81", "op1", "", -1, "");
    row("english words", "kmitocet=lowest", "op003", "", -1, "");
    row("english capitals", "kmitocet=HIGHEST", "op5", "", -1, "");
    row("english medium", "kmitocet=Medium", "op06", "", -1, "");
    row("option's number", "kmitocet=0.03", "op003", "", -1, "");
    row("leading zeros", "zpomaleni=000100", "", "", 100, "");
    row("zeros alone", "zpomaleni=00000", "", "", 0, "");
    row("largest", "zpomaleni=0032767", "", "", 32767, "");
    row("twice the same", "kmitocet=vysoky&kmitocet=highest&lang=en&lang=EN", "op5", "", -1, "en");
    row("twice the same count", "zpomaleni=100&zpomaleni=0100", "", "", 100, "");
    // What the export does not take either.
    row("twice different", "kmitocet=nizky&kmitocet=vysoky&vzdalenost=400", "", "opV400", -1, "",
        {"kmitocet=nizky", "kmitocet=vysoky"});
    row("one of three differs", "zpomaleni=5&zpomaleni=5&zpomaleni=6", "", "", -1, "",
        {"zpomaleni=5", "zpomaleni=5", "zpomaleni=6"});
    row("twice, once wrong", "lang=en&lang=eng", "", "", -1, "", {"lang=en", "lang=eng"});
    row("distance with zero", "vzdalenost=0300", "", "", -1, "", {"vzdalenost=0300"});
    row("too large", "zpomaleni=32768&zpomaleni=000099999", "", "", -1, "",
        {"zpomaleni=32768", "zpomaleni=000099999"});
    row("signs and spaces", "zpomaleni=+5&kmitocet=+vysoky", "", "", -1, "",
        {"zpomaleni= 5", "kmitocet= vysoky"});
    row("half a caption", "kmitocet=vysok", "", "", -1, "", {"kmitocet=vysok"});
    row("a number not written", "kmitocet=0.60", "", "", -1, "", {"kmitocet=0.60"});
    row("slovak accent", "kmitocet=vys%C3%B4ky", "", "", -1, "", {"kmitocet=vysôky"});
    row("broken bytes", "kmitocet=vysok%FD", "", "", -1, "", {"kmitocet=vysok%FD"});
}

void TestPageQuery::readsWhatTheExportReads()
{
    QFETCH(QString, query);
    QFETCH(QString, frequency);
    QFETCH(QString, distance);
    QFETCH(int, scroll);
    QFETCH(QString, language);
    QFETCH(QStringList, ignored);
    const AddressReading r = readAddressQuery(query.toStdString());
    QCOMPARE(QString::fromStdString(r.setting.frequencyOption), frequency);
    QCOMPARE(QString::fromStdString(r.setting.distanceOption), distance);
    QCOMPARE(r.setting.scrollValue.value_or(-1), scroll);
    QCOMPARE(r.setting.language ? QString::fromUtf8(languageCode(*r.setting.language).data())
                                : QString(),
             language);
    QStringList got;
    for (const std::string& part : r.ignored) got << QString::fromStdString(part);
    QCOMPARE(got, ignored);
}

void TestPageQuery::typedNamesFoldCaseAndAccents_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("name");
    QTest::newRow("ascii") << "VySoKy" << "vysoky";
    QTest::newRow("czech capitals") << "ŽLUŤOUČKÝ KŮŇ ÚPĚL ĎÁBELSKÉ ÓDY"
                                    << "žluťoučký kůň úpěl ďábelské ódy";
    QTest::newRow("combining") << QString::fromUtf8("R\u030Ci\u0301Z\u030Cu\u030A")
                               << QString::fromUtf8("řížů");
    QTest::newRow("accent alone") << QString::fromUtf8("\u030Ca") << QString::fromUtf8("\u030Ca");
    QTest::newRow("not czech") << "ÄÖ" << "ÄÖ";
}

void TestPageQuery::typedNamesFoldCaseAndAccents()
{
    QFETCH(QString, typed);
    QFETCH(QString, name);
    QCOMPARE(QString::fromStdString(typedName(typed.toStdString())), name);
    // Bytes that are not text pass through as they were.
    QCOMPARE(typedName("a\xFF" "B\xC5"), std::string("a\xFF" "b\xC5"));
}

// The address the page shows after reading one: the same setting, in the words it writes.
void TestPageQuery::writesWhatItReads()
{
    const AddressReading r =
        readAddressQuery("?kmitocet=LOWEST&vzdalenost=350&zpomaleni=0042&lang=en&lang=en");
    QVERIFY(r.ignored.empty());
    QCOMPARE(addressQuery(r.setting), "kmitocet=nizky&vzdalenost=350&zpomaleni=42&lang=en");
}

QTEST_MAIN(TestPageQuery)
#include "tst_pagequery.moc"
