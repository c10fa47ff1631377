#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <vector>

namespace kvelmor {

// One detector step of a run: where the detector point stood and the two squared lengths, the
// sum of the 2003 arrows and the same sum for a continuous slit.
struct PlotRow {
    double detectorY;  // twips, 1500 (top) to 7000 (bottom)
    double squaredLength;
    double continuousSquaredLength;
};

struct PlotData {
    std::vector<PlotRow> rows;
    QString frequencyCaption;  // the option's caption, e.g. "střední"
    int distance;              // 300, 350 or 400
};

// The worksheet plot of one setting: the detector height on the vertical axis, oriented and scaled
// as the detector line in the window (1500 twips at the top, 7000 at the bottom, 15 twips to a
// pixel, in a picture as tall as the window's), the probability on the horizontal axis; the 2003
// arrows' squared lengths as a blue step line over light blue bars, the continuous slit's as an
// orange-red curve, with a legend, axis titles and a title naming frequency and distance, in
// Czech or English.

// The plot as a whole SVG document; the same data give the same bytes every time.
QByteArray plotSvg(const PlotData& data, bool czech);

// The plot as a picture `scale` (1, 2 or 4) times the window's pixel size, white background.
QImage plotImage(const PlotData& data, int scale, bool czech);

}  // namespace kvelmor
