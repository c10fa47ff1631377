#pragma once

#include <string>
#include <string_view>

namespace kvelmor {

// A coordinate or length as SVG text: rounded to a thousandth (of a pixel), never in exponent
// form, without trailing zeros; "-0" is written "0". Integer arithmetic after one rounding, so
// the text is the same wherever it is made. Values beyond +-1e12 are clamped there.
std::string svgNumber(double value);

// A number as a language writes it: rounded to `decimals` places, its thousands grouped by
// `thousands` and its fraction after `decimal` ("12 345,5"), trailing zeros of the fraction left
// out unless `keepZeros`. Integer arithmetic after one rounding, so the text is the same wherever
// it is made.
std::string groupedNumber(double value, int decimals, std::string_view thousands,
                          std::string_view decimal, bool keepZeros = false);

// Text for an SVG element or attribute value: &, <, > and " written as entities.
std::string xmlEscaped(std::string_view text);

}  // namespace kvelmor
