#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "layout/texts.h"

namespace kvelmor {

// What the page builds of its own around the table of texts (layout/texts.h): the note on its
// address, and the window's fonts and colours as CSS.

// The note under the window in `language` when the page's address held parts that it did not
// take, naming them.
std::string addressNote(const std::vector<std::string>& ignored, Language language);

// A CSS font-family list for a face of the layout: the face itself where the system has it, then
// its metric-compatible Liberation and Chrome OS faces.
std::string cssFontFamily(std::string_view family);

// A colour 0x00BBGGRR as CSS "#rrggbb".
std::string cssColour(unsigned colour);

}  // namespace kvelmor
