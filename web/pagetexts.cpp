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

// At most five parts, each cut to 40 characters: a long or mangled address keeps the note short.
std::string addressNote(const std::vector<std::string>& ignored, Language language)
{
    constexpr std::size_t kParts = 5;
    constexpr std::size_t kCharacters = 40;
    std::string parts;
    for (std::size_t i = 0; i < ignored.size() && i < kParts; ++i) {
        std::string part;
        std::size_t characters = 0;
        for (std::size_t at = 0; at < ignored[i].size(); ++at) {
            const bool starts = (static_cast<unsigned char>(ignored[i][at]) & 0xC0) != 0x80;
            if (starts && ++characters > kCharacters) {
                part += "…";
                break;
            }
            part += ignored[i][at];
        }
        parts += (i ? ", " : "") + filled(text(TextKey::PageAddressPart, language), {part});
    }
    if (ignored.size() > kParts) parts = filled(text(TextKey::PageAddressMore, language), {parts});
    return filled(text(TextKey::PageAddressNote, language), {parts});
}

std::string cssColour(unsigned colour)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", colour & 0xFF, (colour >> 8) & 0xFF,
                  (colour >> 16) & 0xFF);
    return text;
}

}  // namespace kvelmor
