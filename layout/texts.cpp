#include "layout/texts.h"

#include <iterator>

namespace kvelmor {

namespace {

using T = TextKey;

struct Entry {
    TextKey key;
    std::string_view czech;
    std::string_view english;
};

// clang-format off
constexpr Entry kTexts[] = {
    {T::WindowTitle, "Kvelmor - https://kvelmor.example.org", "Kvelmor - https://kvelmor.example.org/en"},
    {T::Heading, "Interference - Kvelmor", "Interference - Kvelmor"},
    {T::StartButton, "Start", "Start"},
    {T::QuitButton, "Konec", "Exit"},
    {T::StartPrompt, "Klepněte na tlačítko Start", "Click the Start button"},
    {T::FrequencyFrame, "Kmitočet fotonu", "Frequency"},
    {T::FrequencyHighest, "vysoký", "highest"},
    {T::FrequencyHigh, "vyšší", "high"},
    {T::FrequencyMedium, "střední", "medium"},
    {T::FrequencyLow, "nižší", "low"},
    {T::FrequencyLowest, "nízký", "lowest"},
    {T::DistanceFrame, "Detektor-Clona", "Detector-Slit"},
    {T::Distance300, "300", "300"},
    {T::Distance350, "350", "350"},
    {T::Distance400, "400", "400"},
    {T::SpeedFrame, "Animace", "Animation"},
    {T::SpeedFast, "Rychlá", "Fast"},
    {T::SpeedSlower, "Pomalejší", "Slower"},
    {T::SpeedSlow, "Pomalá", "Slow"},
    {T::SourceLabel, "Zdroj", "Light"},
    {T::BarrierLabel, "Clona se štěrbinou", "Barrier with slit"},
    {T::DetectorLabel, "Detektor", "Detector"},
    {T::ProbabilityLabel, "Pravděpodobnost", "Probability"},
    {T::SlowDownBoxText, "Spomaleni", "Spomaleni"},
    {T::DistanceBoxText, "Rozteč", "Rozteč"},
    {T::FrequencyBoxText, "Fi", "Fi"},

    {T::StartDescription,
     "Spustí pokus: nakreslí optickou lavici a krok po kroku obrazec ohybu.",
     "Starts the experiment: draws the optical bench and, step by step, the diffraction pattern."},
    {T::QuitDescription, "Ukončí program.", "Ends the program."},
    {T::SlowDownName, "Zpomalení", "Slowdown"},
    {T::SlowDownDescription,
     "Zpomalí běh pokusu: vlevo je okamžitý, vpravo nejpomalejší.",
     "Slows the experiment down: instant at the left end, slowest at the right."},
    {T::FrequencyFrameDescription, "Volí kmitočet fotonu.", "Chooses the photon frequency."},
    {T::DistanceFrameDescription,
     "Volí vzdálenost detektoru od clony.",
     "Chooses how far the detector stands behind the slit."},
    {T::PictureName, "Kresba pokusu", "Drawing of the experiment"},
    {T::PictureEmpty,
     "Zatím prázdná. Klepněte na tlačítko Start.",
     "Empty so far. Click the Start button."},
    {T::PictureAfterRun,
     "Ohyb světla na štěrbině, kmitočet fotonu %1, vzdálenost detektoru od clony %2: optická "
     "lavice, 221 sloupců pravděpodobnosti na ose vpravo a řetězce šipek se zelenými šipkami "
     "součtu v každém dvacátém kroku.",
     "Light diffracted by a slit, photon frequency %1, detector %2 behind the slit: the optical "
     "bench, 221 probability bars on the axis at the right, and chains of arrows with green sum "
     "arrows at every twentieth step."},
    {T::RunSummary,
     "Pokus doběhl: kmitočet fotonu %1, vzdálenost detektoru od clony %2. Hlavní maximum, "
     "nejdelší sloupec, leží na přímce detektoru ve výšce %3 twipů; první minimum nad ním je %4 "
     "a pod ním %5.",
     "The run has finished: photon frequency %1, detector %2 behind the slit. The central "
     "maximum, the longest bar, lies on the detector line at a height of %3 twips; the first "
     "minimum above it is %4 and below it %5."},
    {T::RunSummaryAt, "ve výšce %1 twipů", "at %1 twips"},
    {T::RunSummaryBeyond, "až za koncem přímky", "beyond the end of the line"},

    {T::PageEnded,
     "Kvelmor skončil. Chcete-li jej spustit znovu, klepněte na tlačítko níže nebo načtěte tuto "
     "stránku znovu.",
     "Kvelmor has ended. To start it again, click the button below or reload this page."},
    {T::PageRestart, "Spustit znovu", "Start again"},
    {T::PageDamaged,
     "Soubor je neúplný nebo poškozený: program Kvelmor v něm nelze spustit, jak se stává "
     "například po kopírování na flash disk. Zkopírujte jej prosím znovu z původního místa.",
     "File incomplete or damaged: Kvelmor cannot start from it, as can happen when it is copied "
     "to a USB stick. Please copy it again from where it came from."},
    {T::PageNeedsJavaScript,
     "Kvelmor potřebuje zapnutý JavaScript.",
     "Kvelmor needs JavaScript turned on."},
    {T::PageBarName, "Nástroje stránky", "Page tools"},
    {T::PageFullScreen, "Celá obrazovka", "Full screen"},
    {T::PageFullScreenDescription,
     "Zobrazí stránku přes celou obrazovku; zpět tímto tlačítkem nebo klávesou Esc.",
     "Shows the page on the whole screen; back with this button or the Esc key."},
    {T::PageSavePicture, "Uložit obrázek", "Save picture"},
    {T::PagePictureScaleName, "Velikost obrázku", "Picture size"},
    {T::PagePictureScale1, "×1", "×1"},  // 765 × 560 pixels
    {T::PagePictureScale2, "×2", "×2"},  // twice that
    {T::PageSaveData, "Uložit data", "Save data"},
    {T::PageSavePlot, "Uložit graf", "Save plot"},
    {T::PageLink, "Odkaz", "Link"},
    {T::PageLinkDescription,
     "Zkopíruje adresu stránky s nynějším nastavením, aby ji šlo poslat žákům.",
     "Copies the page's address with the current setting, to send it to pupils."},
    {T::PageOtherLanguage, "English", "Česky"},
    {T::PageOtherLanguageDescription,
     "Zobrazí stránku v angličtině.",
     "Shows the page in Czech."},
    {T::PageNothingToSave,
     "Nejprve spusťte pokus tlačítkem Start.",
     "First run the experiment with the Start button."},
    {T::PageSavesPicture,
     "Uloží obrázek posledního pokusu jako %1.",
     "Saves the last run's picture as %1."},
    {T::PageSavesData,
     "Uloží čísla posledního pokusu jako %1.",
     "Saves the last run's numbers as %1."},
    {T::PageSavesPlot,
     "Uloží graf posledního pokusu jako %1.",
     "Saves the last run's plot as %1."},
    {T::PageLinkCopied, "Odkaz je zkopírován do schránky.", "The link is copied to the clipboard."},
    {T::PageLinkNotCopied,
     "Odkaz nešlo zkopírovat sám; je vybrán v poli vedle, zkopírujte jej (Ctrl+C).",
     "The link could not be copied by itself; it is selected in the field beside, copy it "
     "(Ctrl+C)."},
    {T::PageLinkFieldName, "Odkaz na toto nastavení", "Link to this setting"},
    {T::PageCloseNote, "Zavřít poznámku", "Close the note"},
    {T::PageAddressNote,
     "Adresa stránky obsahuje údaje, kterým Kvelmor nerozumí; místo nich platí výchozí "
     "nastavení: %1.",
     "The page's address holds parts that Kvelmor does not understand; the defaults hold in "
     "their place: %1."},
    {T::PageAddressPart, "„%1“", "“%1”"},
    {T::PageAddressMore, "%1 a další", "%1 and more"},
    {T::PageRunning,
     "Pokus běží; stránka bude znovu reagovat, až doběhne.",
     "The experiment is running; the page responds again when it has finished."},
    {T::PageChooserClose, "Zavřít", "Close"},
    {T::PageStepLess, "O krok méně", "One step less"},
    {T::PageStepMore, "O krok více", "One step more"},
    {T::PageExplore, "Zkoumat", "Explore"},
    {T::PageExploreDescription,
     "Otevře vedle okna řetězec šipek jednoho místa detektoru s libovolným počtem šipek.",
     "Opens beside the window the chain of arrows of one detector point, with any number of "
     "arrows."},
    {T::PageExploreClose, "Zavřít Zkoumat", "Close Explore"},
    {T::PageExploreHeightLess, "O krok níž", "One step lower"},
    {T::PageExploreHeightMore, "O krok výš", "One step higher"},
    {T::PageExploreSavePng, "Obrázek PNG", "PNG picture"},
    {T::PageExploreSaveSvg, "Obrázek SVG", "SVG picture"},
    {T::PageExploreSaveCsv, "Čísla CSV", "CSV numbers"},
    {T::PageExploreSaves, "Uloží %1.", "Saves %1."},

    {T::PlotTitle,
     "Kmitočet fotonu: %1, Detektor-Clona: %2",
     "Photon frequency: %1, detector to slit: %2"},
    {T::PlotHeightAxis, "Výška detektoru (twipy)", "Detector height (twips)"},
    {T::PlotProbabilityAxis,
     "Pravděpodobnost (čtverec délky součtu)",
     "Probability (squared length of the sum)"},
    {T::PlotArrows, "součet 2003 šipek", "sum of 2003 arrows"},
    {T::PlotContinuous, "spojitá štěrbina", "continuous slit"},
    {T::PlotThousandsSeparator, "\u00A0", ","},  // Czech groups thousands with a no-break space
    {T::PlotDecimalSeparator, ",", "."},

    {T::ExploreTitle, "Zkoumat - Kvelmor", "Explore - Kvelmor"},
    {T::ExploreHint,
     "Spusťte pokus tlačítkem Start, pak klepněte na detektor, osu pravděpodobnosti nebo "
     "sloupec: zde uvidíte řetězec šipek toho místa.",
     "Run the experiment with Start, then click the detector line, the probability axis or a "
     "bar: the chain of arrows of that point shows here."},
    {T::ExploreFollowing,
     "Sleduje běh pokusu; po jeho konci můžete volit výšku i počet šipek.",
     "Following the run; when it ends, choose any height and number of arrows."},
    {T::ExploreChainName, "Řetězec šipek", "Chain of arrows"},
    {T::ExplorePatternName, "Obrazec pokusu", "Pattern of the run"},
    {T::ExplorePatternDescription,
     "Sloupce posledního pokusu a křivka spojité štěrbiny; klepnutím zvolíte výšku detektoru.",
     "The last run's bars and the continuous slit's curve; click to choose the detector "
     "height."},
    {T::ExploreHeightName, "Výška detektoru", "Detector height"},
    {T::ExploreHeightValue, "y = %1 twipů, krok %2 z 220", "y = %1 twips, step %2 of 220"},
    {T::ExplorePathsName, "Počet šipek", "Number of arrows"},
    {T::ExplorePathsValue, "N = %1", "N = %1"},
    {T::ExploreInfinity, "∞", "∞"},
    {T::ExploreSweepPaths, "Přidávat šipky", "Add arrows"},
    {T::ExploreSweepPathsDescription,
     "Projde počty šipek od 2 do 2003 asi za tři sekundy.",
     "Goes from 2 to 2003 arrows in about three seconds."},
    {T::ExploreSweepHeight, "Projít detektor", "Along the detector"},
    {T::ExploreSweepHeightDescription,
     "Projde všechny výšky detektoru zdola nahoru.",
     "Goes through every detector height from the bottom up."},
    {T::ExploreStop, "Zastavit", "Stop"},
    {T::ExploreSavePicture, "Uložit obrázek…", "Save picture…"},
    {T::ExploreSaveNumbers, "Uložit čísla…", "Save numbers…"},
    {T::ExplorePictureFiles,
     "Obrázek SVG (*.svg);;Obrázek PNG (*.png)",
     "SVG picture (*.svg);;PNG picture (*.png)"},
    {T::ExploreNumberFiles, "Tabulka CSV (*.csv)", "CSV table (*.csv)"},
    {T::ExploreSaved, "Uloženo: %1", "Saved: %1"},
    {T::ExplorePathDifferenceName,
     "Rozdíl drah od okrajů štěrbiny",
     "Path difference between the slit's edges"},
    {T::ExplorePathDifferenceValue, "%1 vlnové délky", "%1 wavelengths"},
    {T::ExploreTurnsName, "Otočení šipky součtu", "Turning of the sum arrow"},
    {T::ExploreTurnsValue, "%1 otáčky", "%1 turns"},
    {T::ExploreSquaredLengthName, "Čtverec délky součtu", "Squared length of the sum"},
    {T::ExploreShareName, "Podíl nejvyššího sloupce", "Share of the highest bar"},
    {T::ExploreAgainstContinuousName,
     "Rozdíl od spojité štěrbiny",
     "Difference from the continuous slit"},
    {T::ExplorePercent, "%1 %", "%1%"},
    {T::ExploreNoValue, "nelze určit", "no value"},
    {T::ExploreAnnouncement,
     "Krok %1, N = %2: čtverec délky součtu %3, %4 nejvyššího sloupce.",
     "Step %1, N = %2: squared length of the sum %3, %4 of the highest bar."},
    {T::ExploreScaleOne, "%1 twip", "%1 twip"},
    {T::ExploreScaleFew, "%1 twipy", "%1 twips"},
    {T::ExploreScaleMany, "%1 twipů", "%1 twips"},
    {T::ExploreFileTitle, "%1, krok %2, N = %3", "%1, step %2, N = %3"},

    {T::TryHelp, "Více řekne '%1 --help'.", "Try '%1 --help' for more information."},
    {T::CannotWriteOutput,
     "nelze zapsat na standardní výstup: %1",
     "cannot write to standard output: %1"},
    {T::UnknownLanguage, "neznámý jazyk '%1' (cs nebo en)", "unknown language '%1' (cs or en)"},
    {T::OptionNeedsValue, "volba '%1' potřebuje hodnotu", "option '%1' needs a value"},
    {T::OptionGivenTwice, "volba '%1' je zadána dvakrát", "option '%1' given twice"},

    {T::KvelmorHelp,
     "Použití: kvelmor [--lang JAZYK] [--explore] [volby Qt]\n"
     "\n"
     "Otevře okno programu Kvelmor: světlo jednou štěrbinou jako součet šipek. Obrázky\n"
     "a čísla hotového pokusu bez okna uloží kvelmor-export.\n"
     "\n"
     "Volby:\n"
     "      --lang JAZYK  jazyk okna: cs (čeština, výchozí) nebo en (angličtina)\n"
     "      --explore     otevře vedle okna i okno Zkoumat\n"
     "  -h, --help        vypíše tuto nápovědu\n"
     "      --version     vypíše verzi\n"
     "Platí i volby knihovny Qt, mimo jiné -platform JMÉNO, -display DISPLEJ, -style JMÉNO\n"
     "a -qwindowgeometry ŠÍŘKAxVÝŠKA+X+Y.\n"
     "\n"
     "Návratový kód: 0 okno bylo zavřeno, 1 chybí grafický displej, 2 chybné argumenty.\n",
     "Usage: kvelmor [--lang LANGUAGE] [--explore] [Qt options]\n"
     "\n"
     "Opens the Kvelmor window: light through a single slit as a sum of arrows. kvelmor-export\n"
     "writes a finished run as pictures and numbers without a window.\n"
     "\n"
     "Options:\n"
     "      --lang LANGUAGE  the window's language: cs (Czech, the default) or en (English)\n"
     "      --explore        also open the Explore window beside the main one\n"
     "  -h, --help           show this help\n"
     "      --version        show the version\n"
     "Qt's own options work too, among them -platform NAME, -display DISPLAY, -style NAME\n"
     "and -qwindowgeometry WIDTHxHEIGHT+X+Y.\n"
     "\n"
     "Exit status: 0 the window was closed, 1 no graphical display, 2 bad arguments.\n"},
    {T::UnknownArgument, "neznámý argument '%1'", "unknown argument '%1'"},
    {T::NoDisplay,
     "není tu grafický displej (DISPLAY není nastaveno); %1",
     "no graphical display here (DISPLAY is not set); %1"},
    {T::CannotOpenDisplay,
     "nelze otevřít grafický displej%1; %2",
     "cannot open the graphical display%1; %2"},
    {T::HowToRunWithoutDisplay,
     "bez něj ho spustíte takto: xvfb-run -s '-screen 0 1024x768x24' kvelmor",
     "to run it without one: xvfb-run -s '-screen 0 1024x768x24' kvelmor"},

    {T::ExportHelp,
     "Použití: kvelmor-export --frequency KMITOČET --distance VZDÁLENOST --out ADRESÁŘ "
     "[--scale N]\n"
     "         kvelmor-export --all --out ADRESÁŘ [--scale N]\n"
     "         kvelmor-export --frequency KMITOČET --distance VZDÁLENOST --step J [--paths N]\n"
     "                        --out ADRESÁŘ [--scale N]\n"
     "\n"
     "Provede pokus programu Kvelmor bez okna a uloží jeho výsledek do ADRESÁŘE:\n"
     "  kvelmor-F-D.png       obrázek hotového pokusu (kresba a popisky okna)\n"
     "  kvelmor-F-D.svg       tatáž kresba jako vektorový obrázek\n"
     "  kvelmor-F-D.csv       jeden řádek na krok detektoru: posun j, výška detektoru y\n"
     "                        (twipy), čtverec délky součtu před a po měřítku sloupce, úhel\n"
     "                        šipky součtu (radiány, y dolů) a týž čtverec pro spojitou\n"
     "                        štěrbinu\n"
     "  kvelmor-F-D-plot.svg  graf pro pracovní list: čtverec délky součtu 2003 šipek\n"
     "                        a spojité štěrbiny podle výšky detektoru\n"
     "  kvelmor-F-D-plot.png  týž graf jako obrázek (zvětšený jako obrázek pokusu)\n"
     "S volbou --step uloží místo toho řetězec šipek jednoho kroku detektoru, jak jej\n"
     "ukáže okno Zkoumat:\n"
     "  kvelmor-F-D-step-J-paths-N.csv\n"
     "                        body řetězce od bodu detektoru po hrot (arrow, x_twips,\n"
     "                        y_twips): poslední bod bez prvního je šipka součtu\n"
     "  kvelmor-F-D-step-J-paths-N.svg\n"
     "                        obrázek řetězce, v jeho popisu údaje okna Zkoumat\n"
     "  kvelmor-F-D-step-J-paths-N.png\n"
     "                        týž obrázek (zvětšený podle --scale)\n"
     "F je text kmitočtu (například 0.6), D vzdálenost. Soubory jednoho nastavení se\n"
     "zapíší celé, nebo se nezmění žádný z nich.\n"
     "\n"
     "Volby:\n"
     "  --frequency KMITOČET   nízký, nižší, střední, vyšší, vysoký (na velikosti písmen\n"
     "                         nezáleží; také nizky, nizsi, stredni, vyssi, vysoky a anglické\n"
     "                         lowest, low, medium, high, highest)\n"
     "  --distance VZDÁLENOST  300, 350 nebo 400, přesně tak, bez mezer okolo\n"
     "  --all                  všech 15 nastavení\n"
     "  --step J               krok detektoru 0 až 220 zdola, jako řádky CSV\n"
     "  --paths N              počet šipek řetězce: 2 až 2003 (výchozí 2003 jako\n"
     "                         pokus), nebo inf pro spojitou štěrbinu\n"
     "  --out ADRESÁŘ          kam soubory uložit (založí se, chybí-li)\n"
     "  --scale N              zvětšení obrázků PNG: 1, 2 nebo 4 (výchozí 1)\n"
     "  --lang JAZYK           cs nebo en: jazyk popisků obrázku, grafu a hlášení; bez této\n"
     "                         volby jsou popisky české a graf a hlášení v jazyce prostředí\n"
     "  -h, --help             vypíše tuto nápovědu\n"
     "      --version          vypíše verzi\n"
     "\n"
     "Návratový kód: 0 úspěch, 1 soubor nebo výstup nejde zapsat (nebo chybí paměť či\n"
     "písma), 2 chybné volby, 130, 143 nebo 129 přerušeno signálem INT (Ctrl+C), TERM\n"
     "nebo HUP; nastavení, které se právě zapisovalo, zůstane celé staré nebo celé nové.\n",
     "Usage: kvelmor-export --frequency FREQUENCY --distance DISTANCE --out DIR [--scale N]\n"
     "       kvelmor-export --all --out DIR [--scale N]\n"
     "       kvelmor-export --frequency FREQUENCY --distance DISTANCE --step J [--paths N]\n"
     "                      --out DIR [--scale N]\n"
     "\n"
     "Runs the Kvelmor experiment without a window and writes its result into DIR:\n"
     "  kvelmor-F-D.png       a picture of the finished run (the window's drawing and labels)\n"
     "  kvelmor-F-D.svg       the same drawing as a vector picture\n"
     "  kvelmor-F-D.csv       one row per detector step: offset j, detector height y (twips),\n"
     "                        squared length of the sum before and after the bar scale, angle\n"
     "                        of the sum arrow (radians, y down) and the same squared length\n"
     "                        for a continuous slit\n"
     "  kvelmor-F-D-plot.svg  a plot for worksheets: the squared length of the 2003 arrows'\n"
     "                        sum and of the continuous slit's against the detector height\n"
     "  kvelmor-F-D-plot.png  the same plot as a picture (enlarged as the run's picture)\n"
     "With --step it writes one detector step's chain of arrows instead, as the Explore\n"
     "window shows it:\n"
     "  kvelmor-F-D-step-J-paths-N.csv\n"
     "                        the chain's points from the detector point to the tip (arrow,\n"
     "                        x_twips, y_twips): the last point less the first is the sum\n"
     "  kvelmor-F-D-step-J-paths-N.svg\n"
     "                        a picture of the chain, with its readouts in its description\n"
     "  kvelmor-F-D-step-J-paths-N.png\n"
     "                        the same picture (enlarged by --scale)\n"
     "F is the frequency's text (0.6, for example), D the distance. The files of a setting\n"
     "are written whole, or none of them changes.\n"
     "\n"
     "Options:\n"
     "  --frequency FREQUENCY  lowest, low, medium, high, highest, in any case (or the Czech\n"
     "                         nizky, nizsi, stredni, vyssi, vysoky, also as captioned:\n"
     "                         nízký, nižší, střední, vyšší, vysoký)\n"
     "  --distance DISTANCE    300, 350 or 400, written exactly so, without spaces around it\n"
     "  --all                  all 15 settings\n"
     "  --step J               the detector step, 0 to 220 from the bottom (the CSV's rows)\n"
     "  --paths N              the number of arrows in the chain: 2 to 2003 (by default\n"
     "                         2003, as the run), or inf for the continuous slit\n"
     "  --out DIR              where to write the files (created if missing)\n"
     "  --scale N              enlargement of the PNG pictures: 1, 2 or 4 (default 1)\n"
     "  --lang LANGUAGE        cs or en: the language of the picture's labels, the plot and\n"
     "                         the messages; without it the labels are Czech, and the plot\n"
     "                         and the messages follow the locale\n"
     "  -h, --help             show this help\n"
     "      --version          show the version\n"
     "\n"
     "Exit status: 0 success, 1 a file or the output could not be written (or memory or\n"
     "fonts are missing), 2 bad options, 130, 143 or 129 stopped by the signal INT (Ctrl+C),\n"
     "TERM or HUP; the setting being written is then left wholly old or wholly new.\n"},
    {T::OptionTakesNoValue, "volba '%1' nemá hodnotu", "option '%1' takes no value"},
    {T::UnknownOption, "neznámá volba '%1'", "unknown option '%1'"},
    {T::MissingOut, "chybí --out ADRESÁŘ", "missing --out DIR"},
    {T::EmptyOut, "prázdný název adresáře v --out", "empty directory name in --out"},
    {T::UnknownScale, "neznámé měřítko '%1' (1, 2 nebo 4)", "unknown scale '%1' (1, 2 or 4)"},
    {T::AllWithOneSetting,
     "--all nejde spojit s --frequency ani --distance",
     "--all goes with neither --frequency nor --distance"},
    {T::SettingMissing,
     "zadejte --frequency a --distance, nebo --all",
     "give --frequency and --distance, or --all"},
    {T::UnknownFrequency,
     "neznámý kmitočet '%1' (nízký, nižší, střední, vyšší, vysoký)",
     "unknown frequency '%1' (lowest, low, medium, high, highest)"},
    {T::UnknownDistance,
     "neznámá vzdálenost '%1' (300, 350 nebo 400, bez mezer)",
     "unknown distance '%1' (300, 350 or 400, without spaces)"},
    {T::NoMemoryForExport,
     "pro tento export nestačí paměť: %1",
     "not enough memory for this export: %1"},
    {T::NoFonts,
     "nenalezeno žádné písmo; nainstalujte balíček fonts-liberation2",
     "no fonts found; install the package fonts-liberation2"},
    {T::ContinuousUnsettled,
     "%1: spojitá štěrbina se neustálila ani při %2 úsecích v %3 z %4 kroků; "
     "continuous_squared_length tam má nejjemnější dosaženou hodnotu",
     "%1: the continuous slit did not settle at %2 panels in %3 of %4 steps; "
     "continuous_squared_length holds the values reached there"},
    {T::CannotMake, "nelze vytvořit %1: %2", "cannot make %1: %2"},
    {T::CannotWrite, "nelze zapsat %1: %2", "cannot write %1: %2"},
    {T::CannotCreateFolder, "nelze založit adresář %1: %2", "cannot create directory %1: %2"},
    {T::FolderIsBrokenLink,
     "nelze založit adresář %1: je to symbolický odkaz na neexistující %2",
     "cannot create directory %1: it is a symbolic link to %2, which does not exist"},
    {T::CannotReplace, "nelze nahradit %1: %2", "cannot replace %1: %2"},
    {T::CannotReplaceKeptAll,
     "nelze nahradit %1: %2 (soubory nastavení zůstaly, jak byly)",
     "cannot replace %1: %2 (the setting's files are as they were)"},
    {T::CannotPutBack,
     "; %1 nejde vrátit zpět, starší soubor je uložen jako %2",
     "; %1 could not be put back, the older file is kept as %2"},
    {T::CannotRemoveOlder,
     "%1 je nahrazen, ale starší soubor odložený jako %2 nejde odstranit: %3",
     "%1 is replaced, but the older file set aside as %2 could not be removed: %3"},
    {T::FolderLocked,
     "nelze zapsat do %1: jiný program drží adresář zamčený už %2 s (soubory nastavení "
     "zůstaly, jak byly)",
     "cannot write into %1: another program has kept the folder locked for %2 s (the setting's "
     "files are as they were)"},
    {T::UnknownStep, "neznámý krok '%1' (0 až 220)", "unknown step '%1' (0 to 220)"},
    {T::UnknownPaths,
     "neznámý počet šipek '%1' (2 až 2003 nebo inf)",
     "unknown number of arrows '%1' (2 to 2003 or inf)"},
    {T::PathsWithoutStep, "--paths patří k --step", "--paths goes with --step"},
    {T::StepWithAll, "--step nejde spojit s --all", "--step does not go with --all"},
};
// clang-format on

// The placeholders %1 to %9 that a text holds, one bit each.
constexpr unsigned placeholders(std::string_view text)
{
    unsigned found = 0;
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == '%' && text[i + 1] >= '1' && text[i + 1] <= '9') {
            found |= 1u << (text[i + 1] - '0');
        }
    }
    return found;
}

// The first key whose row is missing, out of place, empty in either language, or whose two
// languages do not take the same values; -1 when every key has its row.
constexpr int firstIncompleteKey()
{
    constexpr int count = static_cast<int>(TextKey::Count);
    if (std::size(kTexts) != std::size_t(count)) {
        for (int i = 0; i < count; ++i) {
            if (i >= int(std::size(kTexts)) || kTexts[i].key != TextKey(i)) return i;
        }
        return count;
    }
    for (int i = 0; i < count; ++i) {
        const Entry& e = kTexts[i];
        if (e.key != TextKey(i) || e.czech.empty() || e.english.empty() ||
            placeholders(e.czech) != placeholders(e.english)) {
            return i;
        }
    }
    return -1;
}

// The build fails here when a key lacks its Czech or English text (or its row is out of order):
// the compiler's note names the first such key by its number in TextKey.
template <int Key>
constexpr bool everyKeyHasBothLanguages()
{
    static_assert(Key == -1, "a text key lacks its Czech or English text; see TextKey number Key");
    return true;
}
static_assert(everyKeyHasBothLanguages<firstIncompleteKey()>());

}  // namespace

std::optional<Language> languageCalled(std::string_view code)
{
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    if (code.size() != 2) return std::nullopt;
    const std::string name{lower(code[0]), lower(code[1])};
    if (name == "cs") return Language::Czech;
    if (name == "en") return Language::English;
    return std::nullopt;
}

std::string_view languageCode(Language language)
{
    return language == Language::English ? "en" : "cs";
}

std::string_view text(TextKey key, Language language)
{
    const int index = static_cast<int>(key);
    if (index < 0 || index >= static_cast<int>(TextKey::Count)) return {};
    const Entry& entry = kTexts[index];
    return language == Language::Czech ? entry.czech : entry.english;
}

std::string filled(std::string_view pattern, std::initializer_list<std::string_view> values)
{
    std::string result;
    result.reserve(pattern.size());
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        const std::size_t n = std::size_t(next - '1');
        if (pattern[i] == '%' && next >= '1' && next <= '9' && n < values.size()) {
            result += values.begin()[n];
            ++i;
        } else {
            result += pattern[i];
        }
    }
    return result;
}

}  // namespace kvelmor
