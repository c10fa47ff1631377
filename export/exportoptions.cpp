#include "export/exportoptions.h"

#include <QRegularExpression>
#include <optional>

#include "run/numbertext.h"

namespace kvelmor {

namespace {

struct Frequency {
    const char* caption;  // the option's caption
    const char* ascii;    // the same without accents, easy to type anywhere
    const char* option;
    double value;  // what the option writes
};

const Frequency kFrequencies[] = {
    {"nízký", "nizky", "op003", 0.03},   {"nižší", "nizsi", "op02", 0.2},
    {"střední", "stredni", "op06", 0.6}, {"vyšší", "vyssi", "op1", 1},
    {"vysoký", "vysoky", "op5", 5},
};
const int kDistances[] = {300, 350, 400};

// A value as a message shows it: control characters written as escapes (\n, \t, \x1b), so that
// the message stays on one line and shows what was really typed.
QString shown(const QString& value)
{
    QString text;
    for (const QChar c : value) {
        if (c == QLatin1Char('\n')) {
            text += QLatin1String("\\n");
        } else if (c == QLatin1Char('\t')) {
            text += QLatin1String("\\t");
        } else if (c.unicode() < 0x20 || c.unicode() == 0x7f) {
            text += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        } else {
            text += c;
        }
    }
    return text;
}

QString text(bool czech, const char* cs, const char* en)
{
    return QString::fromUtf8(czech ? cs : en);
}

ExportSetting settingFor(const Frequency& f, int distance)
{
    return {QString::fromLatin1(f.option), QString::fromStdString(numberText(f.value)),
            QString::fromUtf8(f.caption), QStringLiteral("opV%1").arg(distance), distance};
}

// A name as typed: "střední" may arrive with a precomposed ř or as r + combining caron, and in any
// case; both compare equal after NFC normalisation and case folding.
const Frequency* findFrequency(const QString& typed)
{
    const QString name = typed.normalized(QString::NormalizationForm_C);
    auto same = [&](const QString& known) { return name.compare(known, Qt::CaseInsensitive) == 0; };
    for (const Frequency& f : kFrequencies) {
        if (same(QString::fromUtf8(f.caption)) || same(QLatin1String(f.ascii)) ||
            same(QString::fromStdString(numberText(f.value)))) {
            return &f;
        }
    }
    return nullptr;
}

// A distance is one of the three numbers written exactly so: no sign, no white space around it.
std::optional<int> findDistance(const QString& typed)
{
    for (int d : kDistances) {
        if (typed == QString::number(d)) return d;
    }
    return std::nullopt;
}

}  // namespace

bool isCzechLocale(const QString& localeName)
{
    const qsizetype end = localeName.indexOf(QRegularExpression(QStringLiteral("[_.@]")));
    return localeName.left(end) == QLatin1String("cs");
}

bool prefersCzech()
{
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = qEnvironmentVariable(variable);
        if (!value.isEmpty()) return isCzechLocale(value);
    }
    return false;
}

std::vector<ExportSetting> allSettings()
{
    std::vector<ExportSetting> all;
    for (const Frequency& f : kFrequencies) {
        for (int d : kDistances) all.push_back(settingFor(f, d));
    }
    return all;
}

ParsedCommandLine parseCommandLine(const QStringList& arguments, bool czech)
{
    ParsedCommandLine parsed;
    auto fail = [&](const QString& message) {
        parsed.action = ParsedCommandLine::Action::Error;
        parsed.error = message;
        return parsed;
    };

    // Each option at most once; an option given with an empty value still counts as given.
    std::optional<QString> frequency, distance, out, scale;
    bool all = false;
    for (int i = 0; i < arguments.size(); ++i) {
        QString name = arguments[i];
        QString value;
        bool hasValue = false;
        if (name.startsWith(QLatin1String("--")) && name.contains(QLatin1Char('='))) {
            value = name.section(QLatin1Char('='), 1);
            name = name.section(QLatin1Char('='), 0, 0);
            hasValue = true;
        }
        if (name == QLatin1String("--help") || name == QLatin1String("-h")) {
            parsed.action = ParsedCommandLine::Action::Help;
            return parsed;
        }
        if (name == QLatin1String("--version")) {
            parsed.action = ParsedCommandLine::Action::Version;
            return parsed;
        }
        if (name == QLatin1String("--all")) {
            all = true;
            continue;
        }
        std::optional<QString>* target = name == QLatin1String("--frequency")  ? &frequency
                                         : name == QLatin1String("--distance") ? &distance
                                         : name == QLatin1String("--out")      ? &out
                                         : name == QLatin1String("--scale")    ? &scale
                                                                               : nullptr;
        if (!target) {
            return fail(
                text(czech, "neznámá volba '%1'", "unknown option '%1'").arg(shown(arguments[i])));
        }
        if (!hasValue) {
            if (i + 1 >= arguments.size()) {
                return fail(text(czech, "volba '%1' potřebuje hodnotu", "option '%1' needs a value")
                                .arg(shown(name)));
            }
            value = arguments[++i];
        }
        if (target->has_value()) {
            return fail(text(czech, "volba '%1' je zadána dvakrát", "option '%1' given twice")
                            .arg(shown(name)));
        }
        *target = value;
    }

    if (!out) return fail(text(czech, "chybí --out ADRESÁŘ", "missing --out DIR"));
    if (out->isEmpty()) {
        return fail(text(czech, "prázdný název adresáře v --out", "empty directory name in --out"));
    }
    parsed.options.outDir = *out;
    if (scale) {
        if (*scale != QLatin1String("1") && *scale != QLatin1String("2") &&
            *scale != QLatin1String("4")) {
            return fail(
                text(czech, "neznámé měřítko '%1' (1, 2 nebo 4)", "unknown scale '%1' (1, 2 or 4)")
                    .arg(shown(*scale)));
        }
        parsed.options.scale = scale->toInt();
    }
    if (all) {
        if (frequency || distance) {
            return fail(text(czech, "--all nejde spojit s --frequency ani --distance",
                             "--all goes with neither --frequency nor --distance"));
        }
        parsed.options.settings = allSettings();
    } else {
        if (!frequency || !distance) {
            return fail(text(czech, "zadejte --frequency a --distance, nebo --all",
                             "give --frequency and --distance, or --all"));
        }
        const Frequency* f = findFrequency(*frequency);
        if (!f) {
            return fail(text(czech, "neznámý kmitočet '%1' (nízký, nižší, střední, vyšší, vysoký)",
                             "unknown frequency '%1' (nizky, nizsi, stredni, vyssi, vysoky)")
                            .arg(shown(*frequency)));
        }
        const std::optional<int> d = findDistance(*distance);
        if (!d) {
            return fail(text(czech, "neznámá vzdálenost '%1' (300, 350 nebo 400, bez mezer)",
                             "unknown distance '%1' (300, 350 or 400, without spaces)")
                            .arg(shown(*distance)));
        }
        parsed.options.settings = {settingFor(*f, *d)};
    }
    parsed.action = ParsedCommandLine::Action::Export;
    return parsed;
}

QString helpText(bool czech)
{
    if (czech) {
        return QStringLiteral(
            "Použití: kvelmor-export --frequency KMITOČET --distance VZDÁLENOST --out ADRESÁŘ "
            "[--scale N]\n"
            "         kvelmor-export --all --out ADRESÁŘ [--scale N]\n"
            "\n"
            "Provede pokus programu Kvelmor bez okna a uloží jeho výsledek do ADRESÁŘE:\n"
            "  kvelmor-F-D.png       obrázek hotového pokusu (kresba a popisky okna)\n"
            "  kvelmor-F-D.svg       tatáž kresba jako vektorový obrázek\n"
            "  kvelmor-F-D.csv       jeden řádek na krok detektoru: posun j, výška detektoru y\n"
            "                        (twipy), čtverec délky součtu před a po měřítku sloupce, "
            "úhel\n"
            "                        šipky součtu (radiány, y dolů) a týž čtverec pro spojitou\n"
            "                        štěrbinu\n"
            "  kvelmor-F-D-plot.svg  graf pro pracovní list: čtverec délky součtu 2003 šipek\n"
            "                        a spojité štěrbiny podle výšky detektoru\n"
            "  kvelmor-F-D-plot.png  týž graf jako obrázek (zvětšený jako obrázek pokusu)\n"
            "F je text kmitočtu (například 0.6), D vzdálenost. Soubory jednoho nastavení se\n"
            "zapíší celé, nebo se nezmění žádný z nich.\n"
            "\n"
            "Volby:\n"
            "  --frequency KMITOČET   nízký, nižší, střední, vyšší, vysoký (na velikosti písmen\n"
            "                         nezáleží; také nizky, nizsi, stredni, vyssi, vysoky)\n"
            "  --distance VZDÁLENOST  300, 350 nebo 400, přesně tak, bez mezer okolo\n"
            "  --all                  všech 15 nastavení\n"
            "  --out ADRESÁŘ          kam soubory uložit (založí se, chybí-li)\n"
            "  --scale N              zvětšení obrázků PNG: 1, 2 nebo 4 (výchozí 1)\n"
            "  -h, --help             vypíše tuto nápovědu\n"
            "      --version          vypíše verzi\n"
            "\n"
            "Návratový kód: 0 úspěch, 1 soubor nebo výstup nejde zapsat, 2 chybné volby.\n");
    }
    return QStringLiteral(
        "Usage: kvelmor-export --frequency FREQUENCY --distance DISTANCE --out DIR [--scale N]\n"
        "       kvelmor-export --all --out DIR [--scale N]\n"
        "\n"
        "Runs the Kvelmor experiment without a window and writes its result into DIR:\n"
        "  kvelmor-F-D.png       a picture of the finished run (the window's drawing and labels)\n"
        "  kvelmor-F-D.svg       the same drawing as a vector picture\n"
        "  kvelmor-F-D.csv       one row per detector step: offset j, detector height y (twips),\n"
        "                        squared length of the sum before and after the bar scale, angle\n"
        "                        of the sum arrow (radians, y down) and the same squared length\n"
        "                        for a continuous slit\n"
        "  kvelmor-F-D-plot.svg  a plot for worksheets: the squared length of the 2003 arrows'\n"
        "                        sum and of the continuous slit's against the detector height\n"
        "  kvelmor-F-D-plot.png  the same plot as a picture (enlarged as the run's picture)\n"
        "F is the frequency's text (0.6, for example), D the distance. The files of a setting\n"
        "are written whole, or none of them changes.\n"
        "\n"
        "Options:\n"
        "  --frequency FREQUENCY  nizky, nizsi, stredni, vyssi, vysoky, in any case (or the Czech\n"
        "                         captions: nízký, nižší, střední, vyšší, vysoký)\n"
        "  --distance DISTANCE    300, 350 or 400, written exactly so, without spaces around it\n"
        "  --all                  all 15 settings\n"
        "  --out DIR              where to write the files (created if missing)\n"
        "  --scale N              enlargement of the PNG pictures: 1, 2 or 4 (default 1)\n"
        "  -h, --help             show this help\n"
        "      --version          show the version\n"
        "\n"
        "Exit status: 0 success, 1 a file or the output could not be written, 2 bad options.\n");
}

}  // namespace kvelmor
