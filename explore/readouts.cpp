#include "explore/readouts.h"

#include <cmath>
#include <limits>

#include "explore/paths.h"
#include "run/portablemath.h"
#include "worksheet/svgtext.h"

namespace kvelmor {

namespace {

constexpr double kTwoPi = 6.283185307179586;

std::string number(double value, int decimals, Language language, bool keepZeros = false)
{
    return groupedNumber(value, decimals, text(TextKey::PlotThousandsSeparator, language),
                         text(TextKey::PlotDecimalSeparator, language), keepZeros);
}

std::string percent(double share, Language language, bool signed_)
{
    const double value = 100 * share;
    std::string digits = number(value, std::abs(value) < 1000 ? 1 : 0, language, true);
    if (signed_ && value > 0 && digits.find_first_not_of("0,.") != std::string::npos)
        digits = '+' + digits;
    return filled(text(TextKey::ExplorePercent, language), {digits});
}

}  // namespace

double sumArrowTurns(const Chain& chain)
{
    if (chain.empty()) return 0;
    const Point d = chain.front();
    double total = 0;
    double last = 0;
    bool started = false;
    for (std::size_t i = 1; i < chain.size(); ++i) {
        const double x = chain[i].x - d.x;
        const double y = chain[i].y - d.y;
        if (x == 0 && y == 0) continue;
        const double angle = portableAtan2(y, x);
        if (started) {
            double change = angle - last;
            if (change > kTwoPi / 2) change -= kTwoPi;
            if (change <= -kTwoPi / 2) change += kTwoPi;
            total += change;
        }
        last = angle;
        started = true;
    }
    return std::abs(total) / kTwoPi;
}

double edgePathDifference(const Scene& scene, const Wave& wave, double j)
{
    const double dy = Scene::benchBottom - j;
    const double across = Scene::screenX - scene.detectorX;
    auto path = [&](double y) { return std::sqrt(across * across + (y - dy) * (y - dy)); };
    const double upper = path(Scene::axisY - Scene::slitHalfHeight);
    const double lower = path(Scene::axisY + Scene::slitHalfHeight);
    return std::abs(lower - upper) * wave.waveNumber / kTwoPi;
}

Readouts readoutsOf(Explorer& explorer)
{
    const int step = explorer.step();
    const int j = offsetOfStep(step);
    const double p = explorer.squaredLength();
    const double highest = explorer.highestSquaredLength();
    const double continuous = explorer.continuousSum(step).squaredLength;
    return {
        step,
        j,
        Scene::benchBottom - j,
        explorer.paths(),
        edgePathDifference(explorer.setting().scene, explorer.setting().wave, j),
        sumArrowTurns(explorer.chain()),
        p,
        highest > 0 ? p / highest : 0,
        continuous > 0 ? (p - continuous) / continuous : std::numeric_limits<double>::quiet_NaN()};
}

std::string squaredLengthText(double value, Language language)
{
    // Four significant digits: one decimal fewer for each power of ten above 1.
    int decimals = 3;
    for (double bound = 10; decimals > 0 && std::abs(value) >= bound; bound *= 10) --decimals;
    for (double bound = 1; decimals < 8 && value != 0 && std::abs(value) < bound; bound /= 10)
        ++decimals;
    return number(value, decimals, language);
}

ReadoutTexts readoutTexts(const Readouts& r, Language language)
{
    const auto pattern = [language](TextKey key) { return text(key, language); };
    return {
        filled(pattern(TextKey::ExploreHeightValue),
               {number(r.detectorY, 0, language), std::to_string(r.step)}),
        filled(pattern(TextKey::ExplorePathsValue), {pathsText(r.paths, language)}),
        filled(pattern(TextKey::ExplorePathDifferenceValue),
               {number(r.pathDifference, 2, language, true)}),
        filled(pattern(TextKey::ExploreTurnsValue), {number(r.turns, 1, language, true)}),
        squaredLengthText(r.squaredLength, language),
        percent(r.shareOfHighest, language, false),
        std::isnan(r.againstContinuous) ? std::string(pattern(TextKey::ExploreNoValue))
                                        : percent(r.againstContinuous, language, true),
    };
}

std::string readoutsAnnouncement(const Readouts& r, Language language)
{
    const ReadoutTexts t = readoutTexts(r, language);
    return filled(text(TextKey::ExploreAnnouncement, language),
                  {std::to_string(r.step), pathsText(r.paths, language), t.squaredLength, t.share});
}

std::string readoutLines(const Readouts& r, Language language)
{
    const ReadoutTexts t = readoutTexts(r, language);
    const std::pair<TextKey, const std::string&> lines[] = {
        {TextKey::ExploreHeightName, t.height},
        {TextKey::ExplorePathsName, t.paths},
        {TextKey::ExplorePathDifferenceName, t.pathDifference},
        {TextKey::ExploreTurnsName, t.turns},
        {TextKey::ExploreSquaredLengthName, t.squaredLength},
        {TextKey::ExploreShareName, t.share},
        {TextKey::ExploreAgainstContinuousName, t.againstContinuous},
    };
    std::string all;
    for (const auto& [name, value] : lines) {
        all += text(name, language);
        all += ": ";
        all += value;
        all += '\n';
    }
    return all;
}

}  // namespace kvelmor
