#include "web/pagetexts.h"

#include <cstdio>

namespace kvelmor {

std::string cssFontFamily(std::string_view family)
{
    if (family == "Times New Roman") {
        return R"("Times New Roman", "Liberation Serif", "Tinos", serif)";
    }
    return R"("Arial", "Liberation Sans", "Arimo", sans-serif)";
}

std::string cssColour(unsigned colour)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", colour & 0xFF, (colour >> 8) & 0xFF,
                  (colour >> 16) & 0xFF);
    return text;
}

}  // namespace kvelmor
