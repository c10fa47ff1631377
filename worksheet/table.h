#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kvelmor {

// The numbers behind one detector step of a run.
struct StepRow {
    int j;                           // offset above the bench bottom, 500 ... 6000
    double detectorY;                // twips, 7500 - j
    double squaredLength;            // of the sum of the 2003 arrows
    double barLength;                // twips, squaredLength times the distance's bar scale
    double sumAngle;                 // direction of the green sum arrow, radians, y down
    double continuousSquaredLength;  // the same for a continuous slit
    bool continuousSettled;          // false: the finest value its quadrature reached, unsettled
};

// The 221 steps of a setting's run, for the text of the frequency box ("0.6") and the distance
// (350); no rows when either is not a setting of the window.
//
// The numbers are the run's sums and the continuous slit's quadrature, computed with the
// program's own cosine, sine and arctangent (portablemath.h) in a fixed order: the same bits on
// every processor and in the browser, so that every front end writes the same table. They agree
// with the window's bars, whose sums take the processor's fastest cosines, to about 1e-11 of
// their size.
std::vector<StepRow> settingTable(std::string_view frequencyText, int distance);

// The table as CSV text: one header line and one line per step, six fields each, numbers as the
// settings boxes write them (the shortest decimal text that reads back exactly, with a point).
std::string csvText(const std::vector<StepRow>& rows);

}  // namespace kvelmor
