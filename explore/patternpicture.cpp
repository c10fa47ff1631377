#include "explore/patternpicture.h"

#include <algorithm>
#include <cmath>

#include "explore/paths.h"

namespace kvelmor {

namespace {

constexpr double kInset = 4;  // pixels kept free round the pattern in its view

double bandHeight(const PictureArea& area)
{
    return area.height / kStepCount;
}

double largest(const PatternValues& values)
{
    double most = 0;
    for (const std::vector<double>* series : {&values.squaredLengths, &values.continuous}) {
        for (double v : *series) {
            if (std::isfinite(v)) most = std::max(most, v);
        }
    }
    return most > 0 ? most : 1;
}

bool known(const std::vector<double>& series, int step)
{
    return step < int(series.size()) && std::isfinite(series[step]);
}

}  // namespace

PatternValues patternOf(Explorer& explorer, int lastKnown)
{
    PatternValues values{std::vector<double>(kStepCount, NAN),
                         std::vector<double>(kStepCount, NAN)};
    for (int step = 0; step <= std::min(lastKnown, kLastStep); ++step) {
        values.squaredLengths[step] = explorer.runSquaredLength(step);
        values.continuous[step] = explorer.continuousSum(step).squaredLength;
    }
    return values;
}

double patternRow(const PictureArea& area, int step)
{
    return area.top + area.height - (step + 0.5) * bandHeight(area);
}

std::optional<int> stepAtPatternPoint(const PictureArea& area, double x, double y)
{
    if (x < area.left || x >= area.left + area.width || y < area.top ||
        y >= area.top + area.height) {
        return std::nullopt;
    }
    const int step = int(std::floor((area.top + area.height - y) / bandHeight(area)));
    return std::clamp(step, 0, kLastStep);
}

PictureArea patternArea(double width, double height)
{
    return {kInset, kInset, width - 2 * kInset, height - 2 * kInset};
}

int patternStepAt(double width, double height, double y)
{
    const PictureArea across{0, kInset, width, height - 2 * kInset};
    if (across.height <= 0) return 0;
    const double inside = std::clamp(y, across.top, across.top + across.height - 0.01);
    return stepAtPatternPoint(across, across.left, inside).value_or(0);
}

void drawPattern(Surface& s, const PatternValues& values, int chosen, const PictureArea& area)
{
    s.setScaleUnit(ScaleUnit::Pixels);
    const double most = largest(values);
    const double band = bandHeight(area);
    auto x = [&](double value) { return area.left + value / most * area.width; };

    // The bars, each at least as tall as its band (neighbours overlap rather than leave a gap),
    // and the blue edge down their ends.
    s.setLineWidth(std::max(1, int(std::ceil(band))));
    for (int step = 0; step < kStepCount; ++step) {
        if (!known(values.squaredLengths, step)) continue;
        const double y = patternRow(area, step);
        s.line(area.left, y, x(values.squaredLengths[step]), y, kPatternBars);
    }
    s.setLineWidth(1);
    for (int step = 0; step < kStepCount; ++step) {
        if (!known(values.squaredLengths, step)) continue;
        const double end = x(values.squaredLengths[step]);
        const double y = patternRow(area, step);
        s.line(end, y - band / 2, end, y + band / 2, kPatternEdge);
        if (known(values.squaredLengths, step + 1)) {
            s.line(end, y - band / 2, x(values.squaredLengths[step + 1]), y - band / 2,
                   kPatternEdge);
        }
    }

    s.setLineWidth(2);
    for (int step = 0; step + 1 < kStepCount; ++step) {
        if (!known(values.continuous, step) || !known(values.continuous, step + 1)) continue;
        s.line(x(values.continuous[step]), patternRow(area, step), x(values.continuous[step + 1]),
               patternRow(area, step + 1), kPatternCurve);
    }

    if (chosen >= 0 && chosen < kStepCount) {
        const double y = patternRow(area, chosen);
        s.setLineWidth(2);
        s.line(area.left, y, area.left + area.width, y, kPatternChosen);
    }
    s.setLineWidth(1);
}

}  // namespace kvelmor
