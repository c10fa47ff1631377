#include "export/chainoptions.h"

#include "explore/paths.h"

namespace kvelmor {

namespace {

// Digits only, no sign or space, at most four of them (so no overflow): the number, else
// nothing.
std::optional<int> digitsValue(const QByteArray& typed)
{
    if (typed.isEmpty() || typed.size() > 4) return std::nullopt;
    int value = 0;
    for (char c : typed) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

}  // namespace

std::optional<int> stepNamed(const QByteArray& typed)
{
    const std::optional<int> step = digitsValue(typed);
    if (!step || *step > kLastStep) return std::nullopt;
    return step;
}

std::optional<int> pathsNamed(const QByteArray& typed)
{
    if (typed.toLower() == "inf" || typed == QByteArray("\xE2\x88\x9E")) return kInfinitePaths;
    const std::optional<int> paths = digitsValue(typed);
    if (!paths || !isPathCount(*paths) || *paths == kInfinitePaths) return std::nullopt;
    return paths;
}

}  // namespace kvelmor
