#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kvelmor {

// Texts and styles of the browser page that its JavaScript takes from its C++ side (the picture's
// accessible name and descriptions are the desktop window's: layout/description.h).

// What the page says in place of the window once "Konec" has ended the program, above a button
// that starts it again (tablets and phones have no F5 key).
inline constexpr std::string_view kEndedText =
    "Kvelmor skončil. Chcete-li jej spustit znovu, klepněte na tlačítko níže nebo načtěte tuto "
    "stránku znovu.";
inline constexpr std::string_view kRestartText = "Spustit znovu";

// The bar below the window: its buttons' captions and what a screen reader says of them.
inline constexpr std::string_view kBarName = "Nástroje stránky";
inline constexpr std::string_view kFullScreenText = "Celá obrazovka";
inline constexpr std::string_view kFullScreenDescription =
    "Zobrazí stránku přes celou obrazovku; zpět tímto tlačítkem nebo klávesou Esc.";
inline constexpr std::string_view kSavePictureText = "Uložit obrázek";
inline constexpr std::string_view kPictureScaleName = "Velikost obrázku";
inline constexpr std::string_view kPictureScales[] = {"×1", "×2"};  // 765 × 560 or twice that
inline constexpr std::string_view kSaveDataText = "Uložit data";
inline constexpr std::string_view kSavePlotText = "Uložit graf";
inline constexpr std::string_view kLinkText = "Odkaz";
inline constexpr std::string_view kLinkDescription =
    "Zkopíruje adresu stránky s nynějším nastavením, aby ji šlo poslat žákům.";
// What the saving buttons say before the first run, which gives them something to save.
inline constexpr std::string_view kNothingToSave = "Nejprve spusťte pokus tlačítkem Start.";
// A saving button's description after a run, for the file it saves.
std::string savesPicture(std::string_view fileName);
std::string savesData(std::string_view fileName);
std::string savesPlot(std::string_view fileName);
// The bar's short confirmations.
inline constexpr std::string_view kLinkCopied = "Odkaz je zkopírován do schránky.";
inline constexpr std::string_view kLinkNotCopied =
    "Odkaz nešlo zkopírovat sám; je vybrán v poli vedle, zkopírujte jej (Ctrl+C).";
inline constexpr std::string_view kLinkFieldName = "Odkaz na toto nastavení";
inline constexpr std::string_view kCloseNoteText = "Zavřít poznámku";

// The note under the window when the page's address held parts that it did not take, naming them.
std::string addressNote(const std::vector<std::string>& ignored);

// A CSS font-family list for a face of the layout: the face itself where the system has it, then
// its metric-compatible Liberation and Chrome OS faces.
std::string cssFontFamily(std::string_view family);

// A colour 0x00BBGGRR as CSS "#rrggbb".
std::string cssColour(unsigned colour);

}  // namespace kvelmor
