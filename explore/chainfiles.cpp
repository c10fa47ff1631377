#include "explore/chainfiles.h"

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

std::string chainSvg(Explorer& explorer, Language language, Language windowLanguage)
{
    const ExploreSetting& setting = explorer.setting();
    const std::string title =
        filled(text(TextKey::ExploreFileTitle, language),
               {plotTexts(language, frequencyCaption(setting.frequencyText, windowLanguage),
                          setting.distance)
                    .title,
                std::to_string(explorer.step()), pathsText(explorer.paths(), language)});

    RecordingSurface drawing;
    const ScaleMark mark = drawChainPicture(
        drawing, explorer.chain(), explorer.curve(), explorer.paths() == kInfinitePaths,
        {0, kChainTitleBand, kChainPictureWidth, kChainPictureHeight - kChainTitleBand});

    const std::string width = std::to_string(kChainPictureWidth);
    const std::string height = std::to_string(kChainPictureHeight);
    std::string svg =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.2\" baseProfile=\"tiny\" "
        "width=\"" +
        width + "\" height=\"" + height + "\" viewBox=\"0 0 " + width + ' ' + height + "\">\n";
    svg += "<title>" + xmlEscaped(title) + "</title>\n";
    svg += "<desc>" + xmlEscaped(readoutLines(readoutsOf(explorer), language)) + "</desc>\n";
    svg += "<rect x=\"0\" y=\"0\" width=\"" + width + "\" height=\"" + height + "\" fill=\"" +
           svgColour(kExploreBackground) + "\" stroke=\"none\"/>\n";
    svg += svgElements(drawing);
    // Text in Arial: its baseline lies 0.905 of the font size below the top of its line.
    svg += "<g font-family=\"Arial\" fill=\"#000000\" stroke=\"none\">\n";
    svg += "<text x=\"" + svgNumber(kChainPictureWidth / 2.0) + "\" y=\"" +
           svgNumber(12 + 0.905 * 15) +
           "\" text-anchor=\"middle\" font-size=\"15\" font-weight=\"bold\">" + xmlEscaped(title) +
           "</text>\n";
    if (mark.twips > 0) {
        svg += "<text x=\"" + svgNumber((mark.left + mark.right) / 2) + "\" y=\"" +
               svgNumber(mark.textTop + 0.905 * 12) +
               "\" text-anchor=\"middle\" font-size=\"12\">" +
               xmlEscaped(scaleMarkText(mark.twips, language)) + "</text>\n";
    }
    svg += "</g>\n</svg>\n";
    return svg;
}

}  // namespace kvelmor
