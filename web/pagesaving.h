#pragma once

#include <optional>
#include <string>

#include "canvas/recordingsurface.h"
#include "worksheet/worksheet.h"

namespace kvelmor {

// The bar's saving buttons: what kvelmor-export writes of a setting, saved from the page for the
// last finished run, under the export's names. Nothing is saved before the first run; the buttons
// say so until then.
class PageSaving {
public:
    // The saving buttons, in the bar, in the order they stand.
    void addButtons();

    // The buttons' captions, and what they save or need first, in `language`; the plot is saved
    // in it from now on.
    void showTexts(Language language);

    // A run has finished at `frequencyText` ("0.6") and `distanceText` ("350"): the buttons save
    // its files from now on, and say under which names.
    void runFinished(const std::string& frequencyText, const std::string& distanceText);

    // kvelmor-F-D.png at `scale` 1 or 2, from the run's record.
    void savePicture(const RecordingSurface& record, int scale);
    void saveData();  // kvelmor-F-D.csv
    void savePlot();  // kvelmor-F-D-plot.svg

private:
    const Worksheet* worksheet();

    std::string baseName_;  // "kvelmor-0.6-350"; empty before the first run
    std::string frequencyText_;
    int distance_ = 0;
    Language language_ = kDefaultLanguage;
    std::optional<Worksheet> worksheet_;  // of the last run, once a save has asked for it
};

}  // namespace kvelmor
