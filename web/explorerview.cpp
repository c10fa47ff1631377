#include <algorithm>

#include "explore/chainfiles.h"
#include "explore/chainpicture.h"
#include "explore/paths.h"
#include "explore/patternpicture.h"
#include "explore/readouts.h"
#include "web/explorerbindings.h"
#include "web/explorerpage.h"
#include "web/jsbindings.h"

// What the explorer's panel shows: its texts, its pictures at their sizes on screen, where its
// controls stand and its readouts, all from the explorer's model.
namespace kvelmor {

namespace {

constexpr const char* kChain = "kv-ex-chain";
constexpr const char* kPattern = "kv-ex-pattern";

// The readouts' elements and their names, in the order they stand.
struct Readout {
    const char* id;
    TextKey name;
    std::string ReadoutTexts::*value;
};
constexpr Readout kReadouts[] = {
    {"kv-ex-r-height", TextKey::ExploreHeightName, &ReadoutTexts::height},
    {"kv-ex-r-difference", TextKey::ExplorePathDifferenceName, &ReadoutTexts::pathDifference},
    {"kv-ex-r-turns", TextKey::ExploreTurnsName, &ReadoutTexts::turns},
    {"kv-ex-r-squared", TextKey::ExploreSquaredLengthName, &ReadoutTexts::squaredLength},
    {"kv-ex-r-share", TextKey::ExploreShareName, &ReadoutTexts::share},
    {"kv-ex-r-continuous", TextKey::ExploreAgainstContinuousName, &ReadoutTexts::againstContinuous},
};

struct SavedKind {
    const char* id;
    TextKey caption;
    const char* suffix;
};
constexpr SavedKind kSaved[] = {
    {"kv-ex-save-png", TextKey::PageExploreSavePng, ".png"},
    {"kv-ex-save-svg", TextKey::PageExploreSaveSvg, ".svg"},
    {"kv-ex-save-csv", TextKey::PageExploreSaveCsv, ".csv"},
};

std::string textIn(Language language, TextKey key)
{
    return std::string(text(key, language));
}

}  // namespace

void ExplorerPage::showTexts(Language language)
{
    language_ = language;
    const Language l = language;
    js::setBarButtonText("kv-explore", textIn(l, TextKey::PageExplore), "");
    js::setBarButton("kv-explore", true, textIn(l, TextKey::PageExploreDescription));
    const struct {
        const char* id;
        TextKey caption;
        TextKey description;
    } parts[] = {
        {"kv-panel", TextKey::PageExplore, TextKey::None},
        {"kv-ex-title", TextKey::PageExplore, TextKey::None},
        {"kv-ex-close", TextKey::PageExploreClose, TextKey::None},
        {kChain, TextKey::ExploreChainName, TextKey::None},
        {kPattern, TextKey::ExplorePatternName, TextKey::ExplorePatternDescription},
        {"kv-ex-height", TextKey::ExploreHeightName, TextKey::None},
        {"kv-ex-up", TextKey::PageExploreHeightMore, TextKey::None},
        {"kv-ex-down", TextKey::PageExploreHeightLess, TextKey::None},
        {"kv-ex-counts", TextKey::ExplorePathsName, TextKey::None},
        {"kv-ex-scale", TextKey::PagePictureScaleName, TextKey::None},
        {"kv-ex-scale-1", TextKey::PagePictureScale1, TextKey::None},
        {"kv-ex-scale-2", TextKey::PagePictureScale2, TextKey::None},
    };
    for (const auto& part : parts)
        js::setExplorerText(part.id, textIn(l, part.caption), textIn(l, part.description));
    for (std::size_t i = 0; i < kPathChoices.size(); ++i) {
        js::setExplorerText("kv-ex-n" + std::to_string(i), pathsText(kPathChoices[i], l), "");
    }
    for (const Readout& r : kReadouts)
        js::setExplorerText(std::string(r.id) + "-name", textIn(l, r.name) + ':', "");
    if (session_.explorer()) {
        present(false);
    } else {
        showState();
        showSaving();
    }
}

// Both pictures at their sizes on screen, from nothing when no run has been seen yet.
void ExplorerPage::drawPictures()
{
    Explorer* e = session_.explorer();
    PixelPicture chain(chainWidth_, chainHeight_, ratio_);
    if (e) {
        const PictureArea area{0, 0, double(chainWidth_), double(chainHeight_)};
        const ScaleMark mark =
            drawChainPicture(chain, e->chain(), e->curve(), e->paths() == kInfinitePaths, area);
        js::showExplorerScale(mark.twips > 0
                                  ? scaleMarkLabel(mark, area, scaleMarkText(mark.twips, language_))
                                  : PictureText{});
    } else {
        js::showExplorerScale({});
    }
    js::showExplorerPicture(kChain, chain.rgba(), chain.width(), chain.height(), ratio_);
    PixelPicture pattern(patternWidth_, patternHeight_, ratio_);
    if (e) {
        drawPattern(pattern, patternOf(*e, session_.lastKnown()), e->step(),
                    patternArea(patternWidth_, patternHeight_));
    }
    js::showExplorerPicture(kPattern, pattern.rgba(), pattern.width(), pattern.height(), ratio_);
}

void ExplorerPage::showState()
{
    Explorer* e = session_.explorer();
    showState(e ? readoutTexts(readoutsOf(*e), language_).height : std::string());
}

// Where the controls stand, the height slider saying `heightText`, and whether they take input.
void ExplorerPage::showState(const std::string& heightText)
{
    const Explorer* e = session_.explorer();
    const int sweep = session_.sweep() == ExplorerSession::Sweep::Paths    ? 1
                      : session_.sweep() == ExplorerSession::Sweep::Height ? 2
                                                                           : 0;
    js::setExplorerText(
        "kv-ex-sweep-paths",
        textIn(language_, sweep == 1 ? TextKey::ExploreStop : TextKey::ExploreSweepPaths),
        textIn(language_, TextKey::ExploreSweepPathsDescription));
    js::setExplorerText(
        "kv-ex-sweep-height",
        textIn(language_, sweep == 2 ? TextKey::ExploreStop : TextKey::ExploreSweepHeight),
        textIn(language_, TextKey::ExploreSweepHeightDescription));
    js::setExplorerEnabled(e && !session_.following() && !running_);
    if (!e) {
        js::setExplorerState(kCentreStep, "", pathChoiceOf(kRunPaths), 0);
        return;
    }
    js::setExplorerState(e->step(), heightText, pathChoiceOf(e->paths()), sweep);
}

// What the saving buttons save, by name; before any run, that a run must come first.
void ExplorerPage::showSaving()
{
    Explorer* e = session_.explorer();
    for (const SavedKind& kind : kSaved) {
        const std::string says =
            e ? filled(text(TextKey::PageExploreSaves, language_),
                       {chainFileBase(e->setting(), e->step(), e->paths()) + kind.suffix})
              : textIn(language_, TextKey::PageNothingToSave);
        js::setExplorerText(kind.id, textIn(language_, kind.caption), says);
    }
}

// Everything the panel shows, from the model: the controls, both pictures and the readouts; a
// change the user made is said to screen readers once it has settled.
void ExplorerPage::present(bool announceIt)
{
    Explorer* e = session_.explorer();
    if (!e) return;
    const Readouts r = readoutsOf(*e);
    const ReadoutTexts texts = readoutTexts(r, language_);
    showState(texts.height);
    drawPictures();
    for (const Readout& readout : kReadouts)
        js::setExplorerReadout(readout.id, texts.*readout.value);
    js::setExplorerReadout("kv-ex-paths", texts.paths);
    const std::string sentence = readoutsAnnouncement(r, language_);
    js::describeExplorerChain(sentence);
    showSaving();
    if (announceIt && !session_.following()) js::announceExplorerSoon(sentence);
}

}  // namespace kvelmor
