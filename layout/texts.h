#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace kvelmor {

// Every text that Kvelmor shows or says, in Czech and in English, in one table that every front
// end builds from: the window's captions and accessible texts, the drawing's description, the
// page's own texts, the plot's words, and what kvelmor and kvelmor-export print. Plain C++.

enum class Language { Czech, English };

// Czech whatever the machine's locale; English only when asked for.
inline constexpr Language kDefaultLanguage = Language::Czech;

// The language a command line or an address names: "cs" or "en", in any case; nothing else.
std::optional<Language> languageCalled(std::string_view code);

// The code that names `language`: "cs" or "en" (a page's lang attribute, an address).
std::string_view languageCode(Language language);

// What each text is for. A pattern holds %1, %2... where values go (filled() puts them in).
enum class TextKey {
    None = -1,  // no text: a control without a caption, an accessible name or a description

    // The window's title and the captions of its controls.
    WindowTitle,
    Heading,
    StartButton,
    QuitButton,
    StartPrompt,
    FrequencyFrame,
    FrequencyHighest,  // the five frequency options, from the highest frequency to the lowest
    FrequencyHigh,
    FrequencyMedium,
    FrequencyLow,
    FrequencyLowest,
    DistanceFrame,
    Distance300,
    Distance350,
    Distance400,
    SpeedFrame,  // the hidden frame of speed options
    SpeedFast,
    SpeedSlower,
    SpeedSlow,
    SourceLabel,  // the four scene labels that a run shows beside the bench
    BarrierLabel,
    DetectorLabel,
    ProbabilityLabel,
    // The settings boxes' texts in the layout: hidden, and replaced by the load step before the
    // window is shown, so never read by anyone; the same in both languages.
    SlowDownBoxText,
    DistanceBoxText,
    FrequencyBoxText,

    // What a screen reader says beyond the captions.
    StartDescription,
    QuitDescription,
    SlowDownName,
    SlowDownDescription,
    FrequencyFrameDescription,
    DistanceFrameDescription,
    PictureName,
    PictureEmpty,
    PictureAfterRun,  // %1 the frequency option's caption, %2 the distance option's
    // Said when a run has finished: %1 and %2 as above, %3 the central maximum's height, %4 and
    // %5 where the first minimum above and below it lie (RunSummaryAt or RunSummaryBeyond).
    RunSummary,
    RunSummaryAt,  // %1 a height in twips
    RunSummaryBeyond,

    // The browser page's own texts.
    PageEnded,
    PageRestart,
    PageDamaged,  // shown in both languages at once, when the page's file fails to start
    PageNeedsJavaScript,
    PageBarName,  // the bar below the window
    PageFullScreen,
    PageFullScreenDescription,
    PageSavePicture,
    PagePictureScaleName,
    PagePictureScale1,
    PagePictureScale2,
    PageSaveData,
    PageSavePlot,
    PageLink,
    PageLinkDescription,
    PageOtherLanguage,  // the switch: the page's other language, named in that language
    PageOtherLanguageDescription,
    PageNothingToSave,  // what the saving buttons say before the first run
    PageSavesPicture,   // %1 the file's name
    PageSavesData,
    PageSavesPlot,
    PageLinkCopied,
    PageLinkNotCopied,
    PageLinkFieldName,
    PageCloseNote,
    PageAddressNote,  // %1 the parts of the address that were not taken
    PageAddressPart,  // %1 one such part, quoted
    PageAddressMore,  // %1 the first parts, when there are more
    PageRunning,      // the bar during a run: why it does nothing
    PageChooserClose,  // the chooser of a group's options, or the slow-down's, opened by a tap
    PageStepLess,      // the chooser's buttons for one step of the slow-down
    PageStepMore,
    PageExplore,  // the bar's button that opens the explorer's panel, and the panel's name
    PageExploreDescription,
    PageExploreClose,
    PageExploreHeightLess,  // the panel's buttons for one step of the detector's height
    PageExploreHeightMore,
    PageExploreSavePng,  // the panel's saving buttons
    PageExploreSaveSvg,
    PageExploreSaveCsv,
    PageExploreSaves,  // %1 the file's name

    // The worksheet plot.
    PlotTitle,  // %1 the frequency option's caption, %2 the distance
    PlotHeightAxis,
    PlotProbabilityAxis,
    PlotArrows,
    PlotContinuous,
    PlotThousandsSeparator,
    PlotDecimalSeparator,

    // The explorer: one detector point's chain of arrows, with any number of arrows.
    ExploreTitle,
    ExploreHint,       // before any run
    ExploreFollowing,  // while a run goes on
    ExploreChainName,
    ExplorePatternName,
    ExplorePatternDescription,
    ExploreHeightName,
    ExploreHeightValue,  // %1 the detector's y in twips, %2 the step
    ExplorePathsName,
    ExplorePathsValue,  // %1 the number of arrows, or the sign of infinity
    ExploreInfinity,
    ExploreSweepPaths,
    ExploreSweepPathsDescription,
    ExploreSweepHeight,
    ExploreSweepHeightDescription,
    ExploreStop,
    ExploreSavePicture,
    ExploreSaveNumbers,
    ExplorePictureFiles,  // the save dialog's filters
    ExploreNumberFiles,
    ExploreSaved,  // %1 the file's name
    ExplorePathDifferenceName,
    ExplorePathDifferenceValue,  // %1 wavelengths
    ExploreTurnsName,
    ExploreTurnsValue,  // %1 turns
    ExploreSquaredLengthName,
    ExploreShareName,
    ExploreAgainstContinuousName,
    ExplorePercent,  // %1 a number
    ExploreNoValue,
    ExploreAnnouncement,  // %1 step, %2 arrows, %3 squared length, %4 share of the highest bar
    ExploreScaleOne,      // the scale mark: %1 whole twips, 1
    ExploreScaleFew,      // 2 to 4
    ExploreScaleMany,     // 5 or more
    ExploreFileTitle,     // %1 the plot's title of the setting, %2 step, %3 arrows

    // What both programs print: %1 a program's name, an option, a value typed or a reason.
    TryHelp,
    CannotWriteOutput,
    UnknownLanguage,
    OptionNeedsValue,
    OptionGivenTwice,

    // What kvelmor prints.
    KvelmorHelp,
    UnknownArgument,
    NoDisplay,
    CannotOpenDisplay,  // %1 " DISPLAY's value" or nothing, %2 HowToRunWithoutDisplay
    HowToRunWithoutDisplay,

    // What kvelmor-export prints.
    ExportHelp,
    OptionTakesNoValue,
    UnknownOption,
    MissingOut,
    EmptyOut,
    UnknownScale,
    AllWithOneSetting,
    SettingMissing,
    UnknownFrequency,
    UnknownDistance,
    NoMemoryForExport,
    NoFonts,
    ContinuousUnsettled,  // %1 the files' name, %2 panels, %3 steps, %4 all steps
    CannotMake,
    CannotWrite,
    CannotCreateFolder,
    FolderIsBrokenLink,
    CannotReplace,
    CannotReplaceKeptAll,
    CannotPutBack,
    CannotRemoveOlder,  // %1 the file replaced, %2 where its older file stays, %3 the reason
    FolderLocked,       // %1 the folder, %2 the seconds waited
    UnknownStep,
    UnknownPaths,
    PathsWithoutStep,
    StepWithAll,

    Count  // not a text: the number of them
};

// The text of `key` in `language`, in UTF-8; empty for TextKey::None.
std::string_view text(TextKey key, Language language);

// `pattern` with %1 to %9 replaced by the values, in one pass: a value that itself holds "%2"
// stays as it is. A placeholder without a value is left as it was.
std::string filled(std::string_view pattern, std::initializer_list<std::string_view> values);

}  // namespace kvelmor
