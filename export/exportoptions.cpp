#include "export/exportoptions.h"

#include <optional>

#include "app/terminal.h"
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

std::vector<ExportSetting> allSettings()
{
    std::vector<ExportSetting> all;
    for (const Frequency& f : kFrequencies) {
        for (int d : kDistances) all.push_back(settingFor(f, d));
    }
    return all;
}

ParsedCommandLine parseCommandLine(const QList<QByteArray>& arguments, bool czech)
{
    ParsedCommandLine parsed;
    auto fail = [&](const QString& message) {
        parsed.action = ParsedCommandLine::Action::Error;
        parsed.error = message;
        return parsed;
    };

    // Each option at most once; an option given with an empty value still counts as given.
    std::optional<QByteArray> frequency, distance, out, scale;
    bool all = false;
    for (int i = 0; i < arguments.size(); ++i) {
        QByteArray name = arguments[i];
        QByteArray value;
        bool hasValue = false;
        if (name.startsWith("--") && name.contains('=')) {
            value = name.mid(name.indexOf('=') + 1);
            name = name.left(name.indexOf('='));
            hasValue = true;
        }
        const bool help = name == "--help" || name == "-h";
        if (help || name == "--version" || name == "--all") {
            // Options that take no value refuse one: "--all=no" must not mean all.
            if (hasValue) {
                return fail(text(czech, "volba '%1' nemá hodnotu", "option '%1' takes no value")
                                .arg(shownBytes(name)));
            }
            if (name == "--all") {
                all = true;
                continue;
            }
            parsed.action =
                help ? ParsedCommandLine::Action::Help : ParsedCommandLine::Action::Version;
            return parsed;
        }
        std::optional<QByteArray>* target = name == "--frequency"  ? &frequency
                                            : name == "--distance" ? &distance
                                            : name == "--out"      ? &out
                                            : name == "--scale"    ? &scale
                                                                   : nullptr;
        if (!target) {
            return fail(text(czech, "neznámá volba '%1'", "unknown option '%1'")
                            .arg(shownBytes(arguments[i])));
        }
        if (!hasValue) {
            if (i + 1 >= arguments.size()) {
                return fail(text(czech, "volba '%1' potřebuje hodnotu", "option '%1' needs a value")
                                .arg(shownBytes(name)));
            }
            value = arguments[++i];
        }
        if (target->has_value()) {
            return fail(text(czech, "volba '%1' je zadána dvakrát", "option '%1' given twice")
                            .arg(shownBytes(name)));
        }
        *target = value;
    }

    if (!out) return fail(text(czech, "chybí --out ADRESÁŘ", "missing --out DIR"));
    if (out->isEmpty()) {
        return fail(text(czech, "prázdný název adresáře v --out", "empty directory name in --out"));
    }
    parsed.options.outDir = *out;
    if (scale) {
        if (*scale != "1" && *scale != "2" && *scale != "4") {
            return fail(
                text(czech, "neznámé měřítko '%1' (1, 2 nebo 4)", "unknown scale '%1' (1, 2 or 4)")
                    .arg(shownBytes(*scale)));
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
        const Frequency* f = findFrequency(argumentText(*frequency));
        if (!f) {
            return fail(text(czech, "neznámý kmitočet '%1' (nízký, nižší, střední, vyšší, vysoký)",
                             "unknown frequency '%1' (nizky, nizsi, stredni, vyssi, vysoky)")
                            .arg(shownBytes(*frequency)));
        }
        const std::optional<int> d = findDistance(argumentText(*distance));
        if (!d) {
            return fail(text(czech, "neznámá vzdálenost '%1' (300, 350 nebo 400, bez mezer)",
                             "unknown distance '%1' (300, 350 or 400, without spaces)")
                            .arg(shownBytes(*distance)));
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
            "Návratový kód: 0 úspěch, 1 soubor nebo výstup nejde zapsat (nebo chybí paměť či\n"
            "písma), 2 chybné volby, 130, 143 nebo 129 přerušeno signálem INT (Ctrl+C), TERM\n"
            "nebo HUP; nastavení, které se právě zapisovalo, zůstane celé staré nebo celé nové.\n");
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
        "Exit status: 0 success, 1 a file or the output could not be written (or memory or\n"
        "fonts are missing), 2 bad options, 130, 143 or 129 stopped by the signal INT (Ctrl+C),\n"
        "TERM or HUP; the setting being written is then left wholly old or wholly new.\n");
}

}  // namespace kvelmor
