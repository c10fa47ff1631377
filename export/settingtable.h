#pragma once

#include <QByteArray>
#include <vector>

#include "export/exportoptions.h"
#include "export/plot.h"

namespace kvelmor {

// The numbers behind one detector step of a run.
struct StepRow {
    int j;                           // offset above the bench bottom, 500 ... 6000
    double detectorY;                // twips, 7500 - j
    double squaredLength;            // of the sum of the 2003 arrows
    double barLength;                // twips, squaredLength times the distance's bar scale
    double sumAngle;                 // direction of the green sum arrow, radians, y down
    double continuousSquaredLength;  // the same for a continuous slit
};

// The 221 steps of a setting's run, computed from the run's own sums, and the continuous slit's
// quadrature beside them. Plain arithmetic with no widgets: safe to compute on another thread.
std::vector<StepRow> settingTable(const ExportSetting& setting);

// The table as CSV text, one header line and one line per step, numbers as the settings boxes
// write them.
QByteArray csvText(const std::vector<StepRow>& rows);

// What the worksheet plot of a setting draws.
PlotData plotData(const ExportSetting& setting, const std::vector<StepRow>& rows);

}  // namespace kvelmor
