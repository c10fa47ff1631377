#include "layout/description.h"

#include "layout/controls.h"
#include "layout/settings.h"
#include "run/experiment.h"
#include "run/numbertext.h"
#include "run/phasor.h"

namespace kvelmor {

namespace {

// The caption of the option of `box` that writes `text`, or the text itself when none does.
std::string_view captionFor(SettingsBox box, std::string_view text, Language language)
{
    for (const OptionAction& action : optionActions()) {
        if (action.box != box || numberText(action.value) != text) continue;
        if (const ControlRow* row = findControl(action.option)) {
            return kvelmor::text(row->caption, language);
        }
    }
    return text;
}

// The detector height of step `i`, 0 at the bottom.
int heightOfStep(std::size_t i)
{
    return int(Scene::benchBottom) - kFirstOffset - int(i) * kOffsetStep;
}

// From the maximum at `from` one step at a time by `step` (+1 up, -1 down): the first step at
// which the squared lengths, having fallen below a tenth of the maximum, rise again; nothing when
// they do not before the line ends. The tenth passes over the ripples within the bright band that
// a near slit casts, so that the minima found are the dark edges of the band, as they are the
// first zeros of a far slit's pattern.
std::optional<std::size_t> firstMinimum(std::span<const double> p, std::size_t from, int step)
{
    bool fallen = false;
    for (std::size_t i = from;;) {
        fallen = fallen || p[i] < p[from] / 10;
        const std::size_t next = i + step;
        if (next >= p.size()) return std::nullopt;  // wraps round below 0 too
        if (fallen && p[next] > p[i]) return i;
        i = next;
    }
}

}  // namespace

PatternSummary summarisePattern(std::span<const double> p)
{
    if (p.empty()) return {heightOfStep(0), std::nullopt, std::nullopt};
    std::size_t top = 0;
    for (std::size_t i = 1; i < p.size(); ++i) {
        if (p[i] > p[top]) top = i;
    }
    const auto height = [](std::optional<std::size_t> i) {
        return i ? std::optional(heightOfStep(*i)) : std::nullopt;
    };
    return {heightOfStep(top), height(firstMinimum(p, top, +1)), height(firstMinimum(p, top, -1))};
}

std::string runSummary(std::string_view frequencyText, std::string_view distanceText,
                       Language language)
{
    const Scene scene = Scene::forDistance(numberFromText(distanceText));
    const Wave wave = waveForFrequency(frequencyText).value_or(Wave{0, 0});
    std::vector<double> sums;
    for (int j = kFirstOffset; j <= kLastOffset; j += kOffsetStep) {
        sums.push_back(sumArrows(scene, wave, j).squaredLength);
    }
    const PatternSummary pattern = summarisePattern(sums);
    const auto where = [&](std::optional<int> height) {
        return height ? filled(text(TextKey::RunSummaryAt, language), {std::to_string(*height)})
                      : std::string(text(TextKey::RunSummaryBeyond, language));
    };
    return filled(text(TextKey::RunSummary, language),
                  {captionFor(SettingsBox::nFi, frequencyText, language),
                   captionFor(SettingsBox::nRozteč, distanceText, language),
                   std::to_string(pattern.maximum), where(pattern.minimumAbove),
                   where(pattern.minimumBelow)});
}

std::string runDescription(std::string_view frequencyText, std::string_view distanceText,
                           Language language)
{
    return filled(text(TextKey::PictureAfterRun, language),
                  {captionFor(SettingsBox::nFi, frequencyText, language),
                   captionFor(SettingsBox::nRozteč, distanceText, language)});
}

}  // namespace kvelmor
