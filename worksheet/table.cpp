#include "worksheet/table.h"

#include "run/continuousslit.h"
#include "run/experiment.h"
#include "run/numbertext.h"
#include "run/phasor.h"
#include "run/portablemath.h"
#include "run/portablesums.h"

namespace kvelmor {

std::vector<StepRow> settingTable(std::string_view frequencyText, int distance)
{
    const std::optional<Wave> wave = waveForFrequency(frequencyText);
    const std::optional<double> barScale = barScaleForDistance(numberText(distance));
    if (!wave || !barScale) return {};
    const Scene scene = Scene::forDistance(distance);

    std::vector<StepRow> rows;
    for (int j = kFirstOffset; j <= kLastOffset; j += kOffsetStep) {
        const StepSum sum = portableStepSum(scene, *wave, j);
        const double dy = Scene::benchBottom - j;
        const ContinuousSum continuous = continuousSquaredLength(scene, *wave, j);
        rows.push_back({j, dy, sum.squaredLength, sum.squaredLength * *barScale,
                        portableAtan2(sum.tip.y - dy, sum.tip.x - scene.detectorX),
                        continuous.squaredLength, continuous.settled});
    }
    return rows;
}

std::string csvText(const std::vector<StepRow>& rows)
{
    std::string text =
        "j,detector_y_twips,squared_length,bar_length_twips,sum_angle_rad,"
        "continuous_squared_length\n";
    for (const StepRow& row : rows) {
        const double fields[] = {double(row.j), row.detectorY, row.squaredLength,
                                 row.barLength, row.sumAngle,  row.continuousSquaredLength};
        const char* separator = "";
        for (double value : fields) {
            text += separator;
            text += numberText(value);
            separator = ",";
        }
        text += '\n';
    }
    return text;
}

}  // namespace kvelmor
