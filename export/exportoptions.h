#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>
#include <vector>

#include "export/chainoptions.h"
#include "layout/texts.h"

namespace kvelmor {

// One setting of the window: a frequency option and a distance option.
struct ExportSetting {
    QString frequencyOption;  // object name of the option, "op06"
    QString frequencyText;    // what that option writes into its settings box, "0.6"
    QString distanceOption;   // "opV350"
    int distance;             // 350
};

struct ExportOptions {
    std::vector<ExportSetting> settings;
    QByteArray outDir;  // exactly the bytes given: a folder name need not be valid text
    int scale = 1;
    std::optional<Language> language;  // --lang, when given (and read before any error)
    std::optional<ChainChoice> chain;  // --step and --paths: one chain of the one setting
};

struct ParsedCommandLine {
    enum class Action { Export, Help, Version, Error } action = Action::Error;
    ExportOptions options;
    // For Action::Error: what was wrong, and the option or value it was about.
    TextKey error = TextKey::None;
    QString about;

    // The error as one line in `language`.
    QString errorText(Language language) const;
};

// Reads the arguments (without the program name), as the bytes the shell passed.
ParsedCommandLine parseCommandLine(const QList<QByteArray>& arguments);

// All fifteen settings, frequency by frequency from "nízký", distances 300, 350, 400.
std::vector<ExportSetting> allSettings();

}  // namespace kvelmor
