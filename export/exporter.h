#pragma once

#include <QString>

#include "export/exportoptions.h"

namespace kvelmor {

// The file names of one setting, without folder and extension: "kvelmor-0.6-350".
QString exportBaseName(const ExportSetting& setting);

// Runs `setting` in a hidden main window, as a click of "Start" would, once, and writes what it
// drew and computed into the folder `dir`: kvelmor-F-D.png (at `scale`), .svg, .csv and the plot,
// -plot.svg and -plot.png (at `scale`). The five files are one unit: all of them replace older
// ones, or, when any cannot be written, none does. Returns an empty string, or what could not be
// written and why, in Czech when `czech`.
QString exportSetting(const ExportSetting& setting, const QString& dir, int scale, bool czech);

}  // namespace kvelmor
