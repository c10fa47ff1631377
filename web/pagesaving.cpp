#include "web/pagesaving.h"

#include "layout/controls.h"
#include "layout/settings.h"
#include "run/numbertext.h"
#include "web/jsbindings.h"
#include "web/pagepicture.h"
#include "web/pagetexts.h"

namespace kvelmor {

namespace {

constexpr const char* kPictureButton = "kv-save-picture";
constexpr const char* kDataButton = "kv-save-data";
constexpr const char* kPlotButton = "kv-save-plot";
constexpr const char* kScaleChoice = "kv-picture-scale";

std::string sceneLabelNames()
{
    std::string names;
    for (SceneLabel label : kSceneLabels) {
        names += (names.empty() ? "" : ",") + std::string(sceneLabelName(label));
    }
    return names;
}

}  // namespace

void PageSaving::addButtons()
{
    js::addBarButton(kPictureButton);
    js::addBarChoice(kScaleChoice,
                     {std::string(text(TextKey::PagePictureScale1, language_)),
                      std::string(text(TextKey::PagePictureScale2, language_))},
                     1);
    js::addBarButton(kDataButton);
    js::addBarButton(kPlotButton);
}

void PageSaving::showTexts(Language language)
{
    if (language != language_) worksheet_.reset();  // its plot is in the other language
    language_ = language;
    const auto says = [&](TextKey key, const std::string& suffix) {
        return baseName_.empty() ? std::string(text(TextKey::PageNothingToSave, language))
                                 : filled(text(key, language), {baseName_ + suffix});
    };
    const struct {
        const char* id;
        TextKey caption;
        std::string description;
    } buttons[] = {
        {kPictureButton, TextKey::PageSavePicture, says(TextKey::PageSavesPicture, ".png")},
        {kDataButton, TextKey::PageSaveData, says(TextKey::PageSavesData, ".csv")},
        {kPlotButton, TextKey::PageSavePlot, says(TextKey::PageSavesPlot, "-plot.svg")},
    };
    for (const auto& button : buttons) {
        js::setBarButtonText(button.id, std::string(text(button.caption, language)), "");
        js::setBarButton(button.id, !baseName_.empty(), button.description);
    }
    js::setBarChoiceName(kScaleChoice, std::string(text(TextKey::PagePictureScaleName, language)));
}

void PageSaving::runFinished(const std::string& frequencyText, const std::string& distanceText)
{
    const std::string baseName = "kvelmor-" + frequencyText + "-" + distanceText;
    if (baseName != baseName_) worksheet_.reset();
    baseName_ = baseName;
    frequencyText_ = frequencyText;
    distance_ = int(numberFromText(distanceText));
    showTexts(language_);
}

void PageSaving::savePicture(const RecordingSurface& record, int scale)
{
    if (baseName_.empty() || (scale != 1 && scale != 2)) return;
    js::savePicture(baseName_ + ".png", savedPicture(record, scale),
                    twipsToPixels(kClientWidthTwips) * scale,
                    twipsToPixels(kClientHeightTwips) * scale, scale, sceneLabelNames(),
                    cssColour(kBackColour));
}

// The worksheet is the same for every run of a setting: computed at the first save that needs
// it (a tenth of a second or so), kept until a run at another setting or a change of language.
const Worksheet* PageSaving::worksheet()
{
    if (baseName_.empty()) return nullptr;
    if (!worksheet_) worksheet_ = worksheetFor(frequencyText_, distance_, language_);
    return worksheet_ ? &*worksheet_ : nullptr;
}

void PageSaving::saveData()
{
    if (const Worksheet* w = worksheet()) js::saveFile(baseName_ + ".csv", "text/csv", w->csv);
}

void PageSaving::savePlot()
{
    if (const Worksheet* w = worksheet())
        js::saveFile(baseName_ + "-plot.svg", "image/svg+xml", w->plotSvg);
}

}  // namespace kvelmor
