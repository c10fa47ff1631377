#pragma once

#include <string>
#include <string_view>

namespace kvelmor {

// The one conversion between numbers and the text of the settings boxes. Every writer of a box
// and every comparison the run makes with a box goes through it, so a value written is always
// recognised. It ignores the user's locale: the decimal separator is always a point, so a Czech
// desktop (decimal comma) writes and reads the same texts as any other.

// Shortest decimal text that reads back to exactly `value`, never in exponent form:
// 350 -> "350", 1000000 -> "1000000", 0.6 -> "0.6", 0.03 -> "0.03".
std::string numberText(double value);

// Reads a text written by numberText (surrounding spaces allowed). Like a classic Val(), text that
// holds no number reads as 0, so a damaged box can never stop a run.
double numberFromText(std::string_view text);

}  // namespace kvelmor
