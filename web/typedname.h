#pragma once

#include <string>
#include <string_view>

namespace kvelmor {

// A name as a person may type it in the page's address, made comparable: "Střední", "STŘEDNÍ"
// and "střední" with the ř and í written as a letter and a combining accent all give "střední".
// Capitals become small letters (ASCII and the Czech letters with accents), and a letter followed
// by a combining acute, caron or ring becomes the one Czech letter they make. Anything else stays
// as it was, so that two names compare equal only where they would on the command line of
// kvelmor-export, which folds case and composes accents in the same way.
std::string typedName(std::string_view utf8);

}  // namespace kvelmor
