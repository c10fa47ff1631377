#include "worksheet/svgtext.h"

#include <algorithm>
#include <cmath>

namespace kvelmor {

std::string svgNumber(double value)
{
    if (std::isnan(value)) value = 0;
    const long long thousandths = std::llround(std::clamp(value, -1e12, 1e12) * 1000);
    const unsigned long long magnitude =
        thousandths < 0 ? 0ULL - static_cast<unsigned long long>(thousandths) : thousandths;
    std::string text = std::to_string(magnitude / 1000);
    if (const unsigned long long fraction = magnitude % 1000; fraction != 0) {
        std::string digits =
            std::to_string(fraction + 1000).substr(1);  // three, leading zeros kept
        digits.erase(digits.find_last_not_of('0') + 1);
        text += '.' + digits;
    }
    return thousandths < 0 ? '-' + text : text;
}

std::string xmlEscaped(std::string_view text)
{
    std::string escaped;
    for (const char c : text) {
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

}  // namespace kvelmor
