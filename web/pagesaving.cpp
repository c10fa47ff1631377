#include "web/pagesaving.h"

#include "layout/controls.h"
#include "layout/settings.h"
#include "run/numbertext.h"
#include "web/exportpicture.h"
#include "web/jsbindings.h"
#include "web/pagetexts.h"

namespace kvelmor {

namespace {

// The picture is drawn, as the export draws it, on an area the size of the window's own picture
// (all a run ever paints), of which the client area is saved.
constexpr int kDrawnWidth = 801;
constexpr int kDrawnHeight = 651;

constexpr const char* kPictureButton = "kv-save-picture";
constexpr const char* kDataButton = "kv-save-data";
constexpr const char* kPlotButton = "kv-save-plot";

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
    const std::string nothing(kNothingToSave);
    js::addBarButton(kPictureButton, std::string(kSavePictureText), nothing);
    js::addBarChoice("kv-picture-scale", std::string(kPictureScaleName),
                     {std::string(kPictureScales[0]), std::string(kPictureScales[1])}, 1);
    js::addBarButton(kDataButton, std::string(kSaveDataText), nothing);
    js::addBarButton(kPlotButton, std::string(kSavePlotText), nothing);
    for (const char* id : {kPictureButton, kDataButton, kPlotButton})
        js::setBarButton(id, false, nothing);
}

void PageSaving::runFinished(const std::string& frequencyText, const std::string& distanceText)
{
    const std::string baseName = "kvelmor-" + frequencyText + "-" + distanceText;
    if (baseName != baseName_) worksheet_.reset();
    baseName_ = baseName;
    frequencyText_ = frequencyText;
    distance_ = int(numberFromText(distanceText));
    js::setBarButton(kPictureButton, true, savesPicture(baseName_ + ".png"));
    js::setBarButton(kDataButton, true, savesData(baseName_ + ".csv"));
    js::setBarButton(kPlotButton, true, savesPlot(baseName_ + "-plot.svg"));
}

void PageSaving::savePicture(const RecordingSurface& record, int scale)
{
    if (baseName_.empty() || (scale != 1 && scale != 2)) return;
    ExportPicture picture(kDrawnWidth, kDrawnHeight, scale);
    record.drawOnto(picture);
    const int width = twipsToPixels(kClientWidthTwips);
    const int height = twipsToPixels(kClientHeightTwips);
    js::savePicture(baseName_ + ".png", picture.clientArea(width, height, kBackColour),
                    width * scale, height * scale, scale, sceneLabelNames(),
                    cssColour(kBackColour));
}

// The worksheet is the same for every run of a setting: computed at the first save that needs
// it (a tenth of a second or so), kept until a run at another setting.
const Worksheet* PageSaving::worksheet()
{
    if (baseName_.empty()) return nullptr;
    if (!worksheet_) worksheet_ = worksheetFor(frequencyText_, distance_, Language::Czech, Language::Czech);
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
