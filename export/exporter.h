#pragma once

#include <QString>

#include "export/exportoptions.h"

namespace kvelmor {

// The file names of one setting in `dir`, without the extension: "DIR/kvelmor-0.6-350".
QString exportBaseName(const QString& dir, const ExportSetting& setting);

// Runs `setting` in a hidden main window, exactly as a click of "Start" would, and writes
// kvelmor-F-D.png (at `scale`), .svg and .csv into `dir`. Each file is written under a temporary
// name and renamed when complete. Returns an empty string, or what could not be written.
QString exportSetting(const ExportSetting& setting, const QString& dir, int scale, bool czech);

}  // namespace kvelmor
