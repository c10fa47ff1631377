// The table of texts: every English text is English, patterns take their values in one pass, and
// a language is named by its code alone. (That every key has both languages the build itself
// checks; test_textguard.sh checks that check.)
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
    static const QString letters = QStringLiteral("áčďéěíňóřšťúůýžÁČĎÉĚÍŇÓŘŠŤÚŮÝŽ");
    for (const QChar c : text) {
        if (letters.contains(c)) return true;
    }
    return false;
}

}  // namespace

class TestTexts : public QObject {
    Q_OBJECT

private slots:
    void englishTextsAreNotCzech();
    void patternsAreFilledInOnePass();
    void languagesAreNamedByTheirCodes();
};

// A text copied from Czech and left untranslated shows as the very Czech text in the English
// column, or as a Czech letter there. Only names, numbers and the settings boxes' hidden texts
// read the same in both languages, and only texts that quote Czech words on purpose hold them.
void TestTexts::englishTextsAreNotCzech()
{
    const std::set<TextKey> sameInBoth = {TextKey::Heading,         TextKey::StartButton,
                                          TextKey::Distance300,     TextKey::Distance350,
                                          TextKey::Distance400,     TextKey::SlowDownBoxText,
                                          TextKey::DistanceBoxText, TextKey::FrequencyBoxText};
    const std::set<TextKey> quotingCzech = {
        TextKey::ExportHelp,       // the Czech captions are names the export also takes
        TextKey::DistanceBoxText,  // "Rozteč", a settings box's hidden text
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
    QCOMPARE(text(TextKey::None, Language::English), std::string_view());
    QCOMPARE(text(TextKey::Count, Language::Czech), std::string_view());
}

void TestTexts::patternsAreFilledInOnePass()
{
    QCOMPARE(filled("%2 před %1", {"a", "b"}), std::string("b před a"));
    // A value holding a placeholder is put in as it is, not filled again.
    QCOMPARE(filled("%1: %2", {"soubor%2", "chyba"}), std::string("soubor%2: chyba"));
    // A placeholder without a value, a lone % and a % at the end stay.
    QCOMPARE(filled("%1 %3 100% %", {"x", "y"}), std::string("x %3 100% %"));
    QCOMPARE(filled(text(TextKey::PlotTitle, Language::English), {"medium", "350"}),
             std::string("Photon frequency: medium, detector to slit: 350"));
}

void TestTexts::languagesAreNamedByTheirCodes()
{
    const std::pair<const char*, std::optional<Language>> cases[] = {
        {"cs", Language::Czech},   {"CS", Language::Czech}, {"en", Language::English},
        {"En", Language::English}, {"", std::nullopt},      {"c", std::nullopt},
        {"cz", std::nullopt},      {"eng", std::nullopt},   {"english", std::nullopt},
        {"de", std::nullopt},      {"cs_CZ", std::nullopt}};
    for (const auto& [code, language] : cases) QVERIFY2(languageCalled(code) == language, code);
    QCOMPARE(kDefaultLanguage, Language::Czech);
}

QTEST_APPLESS_MAIN(TestTexts)
#include "tst_texts.moc"
