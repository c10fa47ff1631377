#include "worksheet/worksheet.h"

#include "layout/controls.h"
#include "layout/settings.h"
#include "run/numbertext.h"

namespace kvelmor {

std::optional<Worksheet> worksheetFor(std::string_view frequencyText, int distance,
                                      Language plotLanguage)
{
    const std::vector<StepRow> rows = settingTable(frequencyText, distance);
    if (rows.empty()) return std::nullopt;
    int unsettled = 0;
    for (const StepRow& row : rows) unsettled += !row.continuousSettled;
    return Worksheet{
        csvText(rows),
        plotSvg(plotRows(rows),
                plotTexts(plotLanguage, frequencyCaption(frequencyText, plotLanguage), distance)),
        unsettled};
}

std::string_view frequencyCaption(std::string_view frequencyText, Language language)
{
    for (const OptionAction& action : optionActions()) {
        if (action.box == SettingsBox::nFi && numberText(action.value) == frequencyText) {
            if (const ControlRow* row = findControl(action.option))
                return text(row->caption, language);
        }
    }
    return {};
}

std::vector<PlotRow> plotRows(const std::vector<StepRow>& rows)
{
    std::vector<PlotRow> plotted;
    for (const StepRow& row : rows) {
        plotted.push_back({row.detectorY, row.squaredLength, row.continuousSquaredLength});
    }
    return plotted;
}

}  // namespace kvelmor
