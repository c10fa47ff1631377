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

std::string groupedNumber(double value, int decimals, std::string_view thousands,
                          std::string_view decimal, bool keepZeros)
{
    double scale = 1;
    for (int d = 0; d < decimals; ++d) scale *= 10;
    const long long units = std::llround(std::abs(value) * scale);
    std::string digits = std::to_string(units);
    if (int(digits.size()) <= decimals) digits.insert(0, decimals + 1 - digits.size(), '0');
    const std::string whole = digits.substr(0, digits.size() - decimals);
    std::string fraction = digits.substr(digits.size() - decimals);
    if (!keepZeros) fraction.erase(fraction.find_last_not_of('0') + 1);

    std::string text = value < 0 && units != 0 ? "-" : "";
    for (std::size_t i = 0; i < whole.size(); ++i) {
        if (i > 0 && (whole.size() - i) % 3 == 0) text += thousands;
        text += whole[i];
    }
    if (!fraction.empty()) {
        text += decimal;
        text += fraction;
    }
    return text;
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
