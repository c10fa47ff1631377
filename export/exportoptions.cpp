#include "export/exportoptions.h"

#include <QRegularExpression>

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
            QStringLiteral("opV%1").arg(distance), distance};
}

const Frequency* findFrequency(const QString& name)
{
    for (const Frequency& f : kFrequencies) {
        if (name == QString::fromUtf8(f.caption) || name == QLatin1String(f.ascii) ||
            name == QString::fromStdString(numberText(f.value))) {
            return &f;
        }
    }
    return nullptr;
}

}  // namespace

bool prefersCzech()
{
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = qEnvironmentVariable(variable);
        if (!value.isEmpty()) return value.startsWith(QLatin1String("cs"));
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

    QString frequency, distance, out, scale;
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
        QString* target = name == QLatin1String("--frequency")  ? &frequency
                          : name == QLatin1String("--distance") ? &distance
                          : name == QLatin1String("--out")      ? &out
                          : name == QLatin1String("--scale")    ? &scale
                                                                : nullptr;
        if (!target) {
            return fail(text(czech, "neznámá volba '%1'", "unknown option '%1'").arg(arguments[i]));
        }
        if (!hasValue) {
            if (i + 1 >= arguments.size()) {
                return fail(text(czech, "volba '%1' potřebuje hodnotu", "option '%1' needs a value")
                                .arg(name));
            }
            value = arguments[++i];
        }
        *target = value;
    }

    if (out.isEmpty()) return fail(text(czech, "chybí --out ADRESÁŘ", "missing --out DIR"));
    parsed.options.outDir = out;
    if (!scale.isEmpty()) {
        if (scale != QLatin1String("1") && scale != QLatin1String("2") &&
            scale != QLatin1String("4")) {
            return fail(
                text(czech, "neznámé měřítko '%1' (1, 2 nebo 4)", "unknown scale '%1' (1, 2 or 4)")
                    .arg(scale));
        }
        parsed.options.scale = scale.toInt();
    }
    if (all) {
        if (!frequency.isEmpty() || !distance.isEmpty()) {
            return fail(text(czech, "--all nejde spojit s --frequency ani --distance",
                             "--all goes with neither --frequency nor --distance"));
        }
        parsed.options.settings = allSettings();
    } else {
        if (frequency.isEmpty() || distance.isEmpty()) {
            return fail(text(czech, "zadejte --frequency a --distance, nebo --all",
                             "give --frequency and --distance, or --all"));
        }
        const Frequency* f = findFrequency(frequency);
        if (!f) {
            return fail(text(czech, "neznámý kmitočet '%1' (nízký, nižší, střední, vyšší, vysoký)",
                             "unknown frequency '%1' (nizky, nizsi, stredni, vyssi, vysoky)")
                            .arg(frequency));
        }
        const int d = distance.toInt();
        if (!QRegularExpression(QStringLiteral("^(300|350|400)$")).match(distance).hasMatch()) {
            return fail(text(czech, "neznámá vzdálenost '%1' (300, 350 nebo 400)",
                             "unknown distance '%1' (300, 350 or 400)")
                            .arg(distance));
        }
        parsed.options.settings = {settingFor(*f, d)};
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
            "  kvelmor-F-D.png  obrázek hotového pokusu (kresba a popisky okna)\n"
            "  kvelmor-F-D.svg  tatáž kresba jako vektorový obrázek\n"
            "  kvelmor-F-D.csv  jeden řádek na krok detektoru: posun j, výška detektoru y "
            "(twipy),\n"
            "                   čtverec délky součtu před a po měřítku sloupce, úhel šipky součtu\n"
            "                   (radiány, y dolů) a týž čtverec pro spojitou štěrbinu\n"
            "F je text kmitočtu (například 0.6), D vzdálenost.\n"
            "\n"
            "Volby:\n"
            "  --frequency KMITOČET   nízký, nižší, střední, vyšší, vysoký\n"
            "                         (také nizky, nizsi, stredni, vyssi, vysoky)\n"
            "  --distance VZDÁLENOST  300, 350 nebo 400\n"
            "  --all                  všech 15 nastavení\n"
            "  --out ADRESÁŘ          kam soubory uložit (založí se, chybí-li)\n"
            "  --scale N              zvětšení obrázku PNG: 1, 2 nebo 4 (výchozí 1)\n"
            "  -h, --help             vypíše tuto nápovědu\n"
            "      --version          vypíše verzi\n"
            "\n"
            "Návratový kód: 0 úspěch, 1 soubor nejde zapsat, 2 chybné volby.\n");
    }
    return QStringLiteral(
        "Usage: kvelmor-export --frequency FREQUENCY --distance DISTANCE --out DIR [--scale N]\n"
        "       kvelmor-export --all --out DIR [--scale N]\n"
        "\n"
        "Runs the Kvelmor experiment without a window and writes its result into DIR:\n"
        "  kvelmor-F-D.png  a picture of the finished run (the window's drawing and labels)\n"
        "  kvelmor-F-D.svg  the same drawing as a vector picture\n"
        "  kvelmor-F-D.csv  one row per detector step: offset j, detector height y (twips),\n"
        "                   squared length of the sum before and after the bar scale, angle of\n"
        "                   the sum arrow (radians, y down) and the same squared length for a\n"
        "                   continuous slit\n"
        "F is the frequency's text (0.6, for example), D the distance.\n"
        "\n"
        "Options:\n"
        "  --frequency FREQUENCY  nizky, nizsi, stredni, vyssi, vysoky\n"
        "                         (or the Czech captions: nízký, nižší, střední, vyšší, vysoký)\n"
        "  --distance DISTANCE    300, 350 or 400\n"
        "  --all                  all 15 settings\n"
        "  --out DIR              where to write the files (created if missing)\n"
        "  --scale N              enlargement of the PNG picture: 1, 2 or 4 (default 1)\n"
        "  -h, --help             show this help\n"
        "      --version          show the version\n"
        "\n"
        "Exit status: 0 success, 1 a file could not be written, 2 bad options.\n");
}

}  // namespace kvelmor
