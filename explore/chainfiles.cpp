#include "explore/chainfiles.h"

#include "canvas/pixelpicture.h"
#include "canvas/recordingsurface.h"
#include "explore/chainpicture.h"
#include "explore/paths.h"
#include "explore/readouts.h"
#include "explore/svgdrawing.h"
#include "run/numbertext.h"
#include "worksheet/plottexts.h"
#include "worksheet/svgtext.h"
#include "worksheet/worksheet.h"

namespace kvelmor {

std::string chainFileBase(const ExploreSetting& setting, int step, int paths)
{
    return "kvelmor-" + setting.frequencyText + '-' + std::to_string(setting.distance) + "-step-" +
           std::to_string(step) + "-paths-" + pathsFileText(paths);
}

std::string chainCsv(const Chain& chain)
{
    std::string csv = "arrow,x_twips,y_twips\n";
    for (std::size_t i = 0; i < chain.size(); ++i) {
        csv +=
            std::to_string(i) + ',' + numberText(chain[i].x) + ',' + numberText(chain[i].y) + '\n';
    }
    return csv;
}

std::string scaleMarkText(int twips, Language language)
{
    const TextKey form = twips == 1                 ? TextKey::ExploreScaleOne
                         : twips >= 2 && twips <= 4 ? TextKey::ExploreScaleFew
                                                    : TextKey::ExploreScaleMany;
    return filled(text(form, language),
                  {groupedNumber(twips, 0, text(TextKey::PlotThousandsSeparator, language),
                                 text(TextKey::PlotDecimalSeparator, language))});
}

namespace {

// The file's title: the setting as the plot names it, the step and the count.
std::string fileTitle(Explorer& explorer, Language language)
{
    const ExploreSetting& setting = explorer.setting();
    return filled(
        text(TextKey::ExploreFileTitle, language),
        {plotTexts(language, frequencyCaption(setting.frequencyText, language), setting.distance)
             .title,
         std::to_string(explorer.step()), pathsText(explorer.paths(), language)});
}

}  // namespace

std::vector<PictureText> drawChainFile(Surface& surface, Explorer& explorer, Language language)
{
    const PictureArea chainArea{0, kChainTitleBand, kChainPictureWidth,
                                kChainPictureHeight - kChainTitleBand};
    const ScaleMark mark = drawChainPicture(surface, explorer.chain(), explorer.curve(),
                                            explorer.paths() == kInfinitePaths, chainArea);
    // The title in bold 15-pixel Arial, its line's top 12 pixels down: Arial's baseline lies
    // 0.905 of the size below the top of its line.
    std::vector<PictureText> texts{{fileTitle(explorer, language),
                                    {0, 0, kChainPictureWidth, kChainTitleBand},
                                    15,
                                    12 + 0.905 * 15,
                                    true,
                                    true}};
    if (mark.twips > 0)
        texts.push_back(scaleMarkLabel(mark, chainArea, scaleMarkText(mark.twips, language)));
    return texts;
}

ChainPixels chainPixels(Explorer& explorer, Language language, int scale)
{
    PixelPicture picture(kChainPictureWidth, kChainPictureHeight, scale);
    std::vector<PictureText> texts = drawChainFile(picture, explorer, language);
    return {picture.width(), picture.height(),
            picture.over(kExploreBackground, picture.width(), picture.height()), std::move(texts)};
}

std::string chainSvg(Explorer& explorer, Language language)
{
    RecordingSurface drawing;
    const std::vector<PictureText> texts = drawChainFile(drawing, explorer, language);

    const std::string width = std::to_string(kChainPictureWidth);
    const std::string height = std::to_string(kChainPictureHeight);
    std::string svg =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.2\" baseProfile=\"tiny\" "
        "width=\"" +
        width + "\" height=\"" + height + "\" viewBox=\"0 0 " + width + ' ' + height + "\">\n";
    svg += "<title>" + xmlEscaped(texts.front().text) + "</title>\n";
    svg += "<desc>" + xmlEscaped(readoutLines(readoutsOf(explorer), language)) + "</desc>\n";
    svg += "<rect x=\"0\" y=\"0\" width=\"" + width + "\" height=\"" + height + "\" fill=\"" +
           svgColour(kExploreBackground) + "\" stroke=\"none\"/>\n";
    svg += svgElements(drawing);
    svg += "<g font-family=\"Arial\" fill=\"#000000\" stroke=\"none\">\n";
    for (const PictureText& t : texts) {
        svg += "<text x=\"" + svgNumber(t.centred ? t.box.left + t.box.width / 2 : t.box.left) +
               "\" y=\"" + svgNumber(t.box.top + t.baseline) + "\" text-anchor=\"" +
               (t.centred ? "middle" : "start") + "\" font-size=\"" + svgNumber(t.pixelSize) + '"' +
               (t.bold ? " font-weight=\"bold\"" : "") + '>' + xmlEscaped(t.text) + "</text>\n";
    }
    svg += "</g>\n</svg>\n";
    return svg;
}

}  // namespace kvelmor
