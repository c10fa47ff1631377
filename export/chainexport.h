#pragma once

#include <QByteArray>
#include <QString>

#include "export/chainoptions.h"
#include "export/exporter.h"

namespace kvelmor {

// Writes one chain of a setting into the folder `dir`, as the window's explorer saves it:
// kvelmor-F-D-step-J-paths-N.csv (the chain's points), .svg (its picture, the readouts in the
// description) and .png (the same picture, `scale` times its size), the three as one unit, every
// word of them in the language of the plot.
// Returns an empty string, or what could not be written and why, in the language of the
// messages.
QString exportChain(const ExportSetting& setting, ChainChoice choice, const QByteArray& dir,
                    int scale, ExportLanguages languages);

}  // namespace kvelmor
