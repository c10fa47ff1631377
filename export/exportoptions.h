#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
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
    QByteArray outDir;  // exactly the bytes given: a folder name need not be valid text
    int scale = 1;
};

struct ParsedCommandLine {
    enum class Action { Export, Help, Version, Error } action = Action::Error;
    ExportOptions options;
    QString error;  // for Action::Error: what was wrong, one line
};

// Reads the arguments (without the program name), as the bytes the shell passed. Czech messages
// when `czech`, else English.
ParsedCommandLine parseCommandLine(const QList<QByteArray>& arguments, bool czech);

// The text of --help, in Czech or English.
QString helpText(bool czech);

// All fifteen settings, frequency by frequency from "nízký", distances 300, 350, 400.
std::vector<ExportSetting> allSettings();

}  // namespace kvelmor
