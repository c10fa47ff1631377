#include "web/typedname.h"

#include <vector>

namespace kvelmor {

namespace {

// The Czech letters with accents: the small letter, its capital, and the plain letter with the
// combining accent that make the same letter.
struct AccentedLetter {
    char32_t small;
    char32_t capital;
    char32_t plain;
    char32_t accent;
};
constexpr char32_t kAcute = 0x301;
constexpr char32_t kCaron = 0x30C;
constexpr char32_t kRing = 0x30A;
constexpr AccentedLetter kLetters[] = {
    {0xE1, 0xC1, 'a', kAcute},   {0x10D, 0x10C, 'c', kCaron}, {0x10F, 0x10E, 'd', kCaron},
    {0xE9, 0xC9, 'e', kAcute},   {0x11B, 0x11A, 'e', kCaron}, {0xED, 0xCD, 'i', kAcute},
    {0x148, 0x147, 'n', kCaron}, {0xF3, 0xD3, 'o', kAcute},   {0x159, 0x158, 'r', kCaron},
    {0x161, 0x160, 's', kCaron}, {0x165, 0x164, 't', kCaron}, {0xFA, 0xDA, 'u', kAcute},
    {0x16F, 0x16E, 'u', kRing},  {0xFD, 0xDD, 'y', kAcute},   {0x17E, 0x17D, 'z', kCaron},
};

constexpr char32_t kNotText = 0xFFFFFFFF;  // a byte that starts no UTF-8 character

// The characters of `utf8`; a byte that is not part of a well-formed character stands for
// itself, marked so that it matches no letter.
std::vector<char32_t> characters(std::string_view utf8)
{
    std::vector<char32_t> out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        const std::size_t length = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : 0;
        bool wellFormed = length > 0 && i + length <= utf8.size();
        char32_t code = length == 1 ? c : length == 2 ? c & 0x1F : c & 0x0F;
        for (std::size_t k = 1; wellFormed && k < length; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + k]);
            wellFormed = (next >> 6) == 2;
            code = (code << 6) | (next & 0x3F);
        }
        if (!wellFormed) {
            out.push_back(kNotText - c);
            ++i;
            continue;
        }
        out.push_back(code);
        i += length;
    }
    return out;
}

void append(std::string& utf8, char32_t c)
{
    if (c > 0xFFFF) {  // a byte that was not text, as it was
        utf8 += static_cast<char>(kNotText - c);
    } else if (c < 0x80) {
        utf8 += static_cast<char>(c);
    } else if (c < 0x800) {
        utf8 += static_cast<char>(0xC0 | (c >> 6));
        utf8 += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        utf8 += static_cast<char>(0xE0 | (c >> 12));
        utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        utf8 += static_cast<char>(0x80 | (c & 0x3F));
    }
}

char32_t small(char32_t c)
{
    if (c >= 'A' && c <= 'Z') return c - 'A' + 'a';
    for (const AccentedLetter& l : kLetters) {
        if (c == l.capital) return l.small;
    }
    return c;
}

}  // namespace

std::string typedName(std::string_view utf8)
{
    const std::vector<char32_t> typed = characters(utf8);
    std::string name;
    for (std::size_t i = 0; i < typed.size(); ++i) {
        char32_t c = small(typed[i]);
        if (i + 1 < typed.size()) {
            for (const AccentedLetter& l : kLetters) {
                if (c == l.plain && typed[i + 1] == l.accent) {
                    c = l.small;
                    ++i;
                    break;
                }
            }
        }
        append(name, c);
    }
    return name;
}

}  // namespace kvelmor
