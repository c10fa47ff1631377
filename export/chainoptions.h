#pragma once

#include <QByteArray>
#include <optional>

namespace kvelmor {

// `--step J --paths N`: one detector step's chain of N arrows instead of the whole run.
struct ChainChoice {
    int step;   // 0 (the bottom) to 220, as the CSV's rows
    int paths;  // 2 to 2003, or kInfinitePaths
};

// A step as typed: decimal digits only, 0 to 220.
std::optional<int> stepNamed(const QByteArray& typed);

// A count as typed: decimal digits only, 2 to 2003, or "inf" in any case (also the sign of
// infinity) for the continuous slit.
std::optional<int> pathsNamed(const QByteArray& typed);

}  // namespace kvelmor
