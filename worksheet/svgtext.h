#pragma once

#include <string>
#include <string_view>

namespace kvelmor {

// A coordinate or length as SVG text: rounded to a thousandth (of a pixel), never in exponent
// form, without trailing zeros; "-0" is written "0". Integer arithmetic after one rounding, so
// the text is the same wherever it is made. Values beyond +-1e12 are clamped there.
std::string svgNumber(double value);

// Text for an SVG element or attribute value: &, <, > and " written as entities.
std::string xmlEscaped(std::string_view text);

}  // namespace kvelmor
