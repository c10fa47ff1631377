// The table of texts: every English text is English, patterns take their values in one pass, and
// a language is named by its code. (That every key has both languages the build checks, and
// test_textguard.sh checks that check.)
#include <QRegularExpression>
#include <QtTest>
#include <set>

#include "layout/texts.h"

using namespace kvelmor;

namespace {

QString qs(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

bool hasCzechLetter(const QString& text)
{
    return text.contains(QRegularExpression(QStringLiteral("[áčďéěíňóřšťúůýžÁČĎÉĚÍŇÓŘŠŤÚŮÝŽ]")));
}

}  // namespace

class TestTexts : public QObject {
    Q_OBJECT

private slots:
    void englishTextsAreNotCzech();
    void patternsAndLanguageCodes();
};

// A text copied from Czech and left untranslated shows as the very Czech text in the English
// column, or as a Czech letter there. Only names, numbers and the settings boxes' hidden texts
// read the same in both languages, and only texts that quote Czech words on purpose hold them.
void TestTexts::englishTextsAreNotCzech()
{
    const std::set<TextKey> sameInBoth = {
        TextKey::Heading,           TextKey::StartButton,       TextKey::Distance300,
        TextKey::Distance350,       TextKey::Distance400,       TextKey::SlowDownBoxText,
        TextKey::DistanceBoxText,   TextKey::FrequencyBoxText,  TextKey::PagePictureScale1,
        TextKey::PagePictureScale2, TextKey::ExplorePathsValue, TextKey::ExploreInfinity,
        TextKey::ExploreScaleOne};
    const std::set<TextKey> quotingCzech = {
        TextKey::ExportHelp,         // the Czech captions are names the export also takes
        TextKey::DistanceBoxText,    // "Rozteč", a settings box's hidden text
        TextKey::PageOtherLanguage,  // the English page offers "Česky"
    };
    for (int i = 0; i < int(TextKey::Count); ++i) {
        const TextKey key = TextKey(i);
        const QString czech = qs(text(key, Language::Czech));
        const QString english = qs(text(key, Language::English));
        const QString what = QStringLiteral("key %1: \"%2\"").arg(i).arg(english);
        QVERIFY2(!czech.isEmpty() && !english.isEmpty(), qPrintable(what));
        QVERIFY2((czech == english) == sameInBoth.contains(key), qPrintable(what));
        QVERIFY2(!hasCzechLetter(english) || quotingCzech.contains(key), qPrintable(what));
    }
    QVERIFY(text(TextKey::None, Language::English).empty());
}

// A value holding a placeholder is put in as it is; a language is named by its code alone.
void TestTexts::patternsAndLanguageCodes()
{
    QCOMPARE(filled("%2 před %1, %3 %", {"a%2", "b"}), std::string("b před a%2, %3 %"));
    for (const char* code : {"", "c", "cz", "eng", "cs_CZ"}) QVERIFY(!languageCalled(code));
    QVERIFY(languageCalled("CS") == Language::Czech && languageCalled("En") == Language::English);
    for (Language language : {Language::Czech, Language::English})
        QVERIFY(languageCalled(languageCode(language)) == language);
}

QTEST_APPLESS_MAIN(TestTexts)
#include "tst_texts.moc"
