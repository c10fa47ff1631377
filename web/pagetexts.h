#pragma once

#include <string>
#include <string_view>

namespace kvelmor {

// Texts and styles of the browser page that its JavaScript takes from its C++ side (the picture's
// accessible name and descriptions are the desktop window's: layout/description.h).

// What the page says in place of the window once "Konec" has ended the program, above a button
// that starts it again (tablets and phones have no F5 key).
inline constexpr std::string_view kEndedText =
    "Kvelmor skončil. Chcete-li jej spustit znovu, klepněte na tlačítko níže nebo načtěte tuto "
    "stránku znovu.";
inline constexpr std::string_view kRestartText = "Spustit znovu";

// A CSS font-family list for a face of the layout: the face itself where the system has it, then
// its metric-compatible Liberation and Chrome OS faces.
std::string cssFontFamily(std::string_view family);

// A colour 0x00BBGGRR as CSS "#rrggbb".
std::string cssColour(unsigned colour);

}  // namespace kvelmor
