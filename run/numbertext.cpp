#include "run/numbertext.h"

#include <array>
#include <charconv>

namespace kvelmor {

std::string numberText(double value)
{
    std::array<char, 400> buffer{};  // room for the longest fixed-form double
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed);
    return {buffer.data(), result.ptr};
}

double numberFromText(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return 0.0;
    text.remove_prefix(first);
    text = text.substr(0, text.find_last_not_of(' ') + 1);

    double value = 0.0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return 0.0;
    return value;
}

}  // namespace kvelmor
