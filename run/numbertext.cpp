#include "run/numbertext.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <locale>
#include <sstream>
#include <version>

namespace kvelmor {

namespace {

// The classic "C" locale: a decimal point and no thousands grouping, whatever the user's desktop
// and whatever global C++ locale a program installs.
template <typename Stream>
Stream classicStream()
{
    Stream stream;
    stream.imbue(std::locale::classic());
    return stream;
}

std::string fixedText(double value, int decimals)
{
    // One stream a thread, made once: making and imbuing a stream costs more than the printing.
    thread_local std::ostringstream out = classicStream<std::ostringstream>();
    out.str(std::string());
    out.clear();
    out.setf(std::ios::fixed, std::ios::floatfield);
    out.precision(decimals);
    out << value;
    return out.str();
}

// No text with fewer decimals than the shortest fixed text that reads back to `value`, which
// std::to_chars finds at once, can read back either; 0 where the library has no such to_chars
// (WebAssembly's) or `value` is not finite.
int fewestPossibleDecimals(double value)
{
#if defined(__cpp_lib_to_chars)
    char text[400];  // DBL_MAX has 309 digits, the smallest subnormal reads back from 324 decimals
    const auto [end, error] =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed);
    if (error != std::errc() || !std::isfinite(value)) return 0;
    const char* point = std::find(text, end, '.');
    return point == end ? 0 : int(end - point - 1);
#else
    (void)value;
    return 0;
#endif
}

}  // namespace

// The fewest decimals that read back exactly, correctly rounded (the shortest text with that many
// decimals may be another, on rare values). Every value a setting writes needs at most a few; a
// double never needs more than 1074 (the smallest subnormal). The CSV's numbers need up to 17, so
// the search starts where no fewer can do.
std::string numberText(double value)
{
    constexpr int kMostDecimals = 1074;
    for (int decimals = fewestPossibleDecimals(value); decimals < kMostDecimals; ++decimals) {
        std::string text = fixedText(value, decimals);
        if (numberFromText(text) == value) return text;
    }
    return fixedText(value, kMostDecimals);
}

double numberFromText(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return 0.0;
    text.remove_prefix(first);
    text = text.substr(0, text.find_last_not_of(' ') + 1);
    // Only what the writer produces: an optional minus, digits, a point. The stream alone would
    // also take a plus sign or skip tabs.
    if (text.front() == '+') return 0.0;

    thread_local std::istringstream in = classicStream<std::istringstream>();
    in.clear();
    in.str(std::string(text));
    double value = 0.0;
    in >> std::noskipws >> value;
    if (in.fail() || in.peek() != std::istringstream::traits_type::eof()) return 0.0;
    return value;
}

}  // namespace kvelmor
