#include "export/settingtable.h"

#include <cmath>

#include "run/continuousslit.h"
#include "run/experiment.h"
#include "run/numbertext.h"
#include "run/phasor.h"

namespace kvelmor {

std::vector<StepRow> settingTable(const ExportSetting& setting)
{
    const std::string distanceText = numberText(setting.distance);
    const Scene scene = Scene::forDistance(setting.distance);
    const Wave wave = waveForFrequency(setting.frequencyText.toStdString()).value_or(Wave{0, 0});
    const double barScale = barScaleForDistance(distanceText).value_or(0);

    std::vector<StepRow> rows;
    int unsettled = 0;
    for (int j = kFirstOffset; j <= kLastOffset; j += kOffsetStep) {
        const StepSum sum = sumArrows(scene, wave, j);
        const double dy = Scene::benchBottom - j;
        const ContinuousSum continuous = continuousSquaredLength(scene, wave, j);
        unsettled += !continuous.settled;
        rows.push_back({j, dy, sum.squaredLength, sum.squaredLength * barScale,
                        std::atan2(sum.tip.y - dy, sum.tip.x - scene.detectorX),
                        continuous.squaredLength});
    }
    // The column then holds the finest values reached: said, not passed off as settled.
    if (unsettled > 0) {
        qCritical(
            "%s-%d: the continuous slit did not settle at %d panels in %d of %zu steps; "
            "continuous_squared_length holds the values reached there",
            qPrintable(setting.frequencyText), setting.distance, kMostSlitPanels, unsettled,
            rows.size());
    }
    return rows;
}

QByteArray csvText(const std::vector<StepRow>& rows)
{
    std::string text =
        "j,detector_y_twips,squared_length,bar_length_twips,sum_angle_rad,"
        "continuous_squared_length\n";
    for (const StepRow& row : rows) {
        for (double value : {double(row.j), row.detectorY, row.squaredLength, row.barLength,
                             row.sumAngle, row.continuousSquaredLength}) {
            text += numberText(value);
            text += ',';
        }
        text.back() = '\n';
    }
    return QByteArray::fromStdString(text);
}

PlotData plotData(const ExportSetting& setting, const std::vector<StepRow>& rows)
{
    PlotData data{{}, setting.frequencyCaption, setting.distance};
    for (const StepRow& row : rows) {
        data.rows.push_back({row.detectorY, row.squaredLength, row.continuousSquaredLength});
    }
    return data;
}

}  // namespace kvelmor
