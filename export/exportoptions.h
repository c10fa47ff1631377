#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace kvelmor {

// One setting of the window: a frequency option and a distance option.
struct ExportSetting {
    QString frequencyOption;   // object name of the option, "op06"
    QString frequencyText;     // what that option writes into its settings box, "0.6"
    QString frequencyCaption;  // the option's caption, "střední"
    QString distanceOption;    // "opV350"
    int distance;              // 350
};

struct ExportOptions {
    std::vector<ExportSetting> settings;
    QString outDir;
    int scale = 1;
};

struct ParsedCommandLine {
    enum class Action { Export, Help, Version, Error } action = Action::Error;
    ExportOptions options;
    QString error;  // for Action::Error: what was wrong, one line
};

// Reads the arguments (without the program name). Czech messages when `czech`, else English.
ParsedCommandLine parseCommandLine(const QStringList& arguments, bool czech);

// The text of --help, in Czech or English.
QString helpText(bool czech);

// Whether a locale name ("cs_CZ.UTF-8", "cs", "csb_PL") is of the Czech language: its language
// code, the part before any '_', '.' or '@', is exactly "cs".
bool isCzechLocale(const QString& localeName);

// Whether the user's locale for messages is Czech: the first of LC_ALL, LC_MESSAGES and LANG that
// is set decides.
bool prefersCzech();

// All fifteen settings, frequency by frequency from "nízký", distances 300, 350, 400.
std::vector<ExportSetting> allSettings();

}  // namespace kvelmor
