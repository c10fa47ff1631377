#include "export/exportoptions.h"

#include <optional>

#include "app/controls.h"
#include "app/terminal.h"
#include "explore/paths.h"
#include "layout/controls.h"
#include "layout/settings.h"
#include "run/numbertext.h"

namespace kvelmor {

namespace {

const int kDistances[] = {300, 350, 400};

// What the frequency option writes into its settings box.
double frequencyValue(const FrequencyWord& f)
{
    return findOptionAction(f.option)->value;
}

ExportSetting settingFor(const FrequencyWord& f, int distance)
{
    return {QString::fromLatin1(f.option), QString::fromStdString(numberText(frequencyValue(f))),
            QStringLiteral("opV%1").arg(distance), distance};
}

// A name as typed: "střední" may arrive with a precomposed ř or as r + combining caron, and in any
// case; both compare equal after NFC normalisation and case folding. The Czech and English
// captions, the Czech one without accents and the option's number all name it.
const FrequencyWord* findFrequency(const QString& typed)
{
    const QString name = typed.normalized(QString::NormalizationForm_C);
    auto same = [&](const QString& known) { return name.compare(known, Qt::CaseInsensitive) == 0; };
    for (const FrequencyWord& f : kFrequencyWords) {
        const TextKey caption = findControl(f.option)->caption;
        if (same(qtext(caption, Language::Czech)) || same(qtext(caption, Language::English)) ||
            same(QLatin1String(f.word)) ||
            same(QString::fromStdString(numberText(frequencyValue(f))))) {
            return &f;
        }
    }
    return nullptr;
}

// A distance is one of the three numbers written exactly so: no sign, no white space around it.
std::optional<int> findDistance(const QString& typed)
{
    for (int d : kDistances) {
        if (typed == QString::number(d)) return d;
    }
    return std::nullopt;
}

}  // namespace

std::vector<ExportSetting> allSettings()
{
    std::vector<ExportSetting> all;
    for (const FrequencyWord& f : kFrequencyWords) {
        for (int d : kDistances) all.push_back(settingFor(f, d));
    }
    return all;
}

QString ParsedCommandLine::errorText(Language language) const
{
    const QString pattern = qtext(error, language);
    return pattern.contains(QLatin1String("%1")) ? pattern.arg(about) : pattern;
}

ParsedCommandLine parseCommandLine(const QList<QByteArray>& arguments)
{
    ParsedCommandLine parsed;
    auto fail = [&](TextKey error, const QString& about = QString()) {
        parsed.action = ParsedCommandLine::Action::Error;
        parsed.error = error;
        parsed.about = about;
        return parsed;
    };

    // Each option at most once; an option given with an empty value still counts as given.
    std::optional<QByteArray> frequency, distance, out, scale, language, step, paths;
    bool all = false;
    for (int i = 0; i < arguments.size(); ++i) {
        QByteArray name = arguments[i];
        QByteArray value;
        bool hasValue = false;
        if (name.startsWith("--") && name.contains('=')) {
            value = name.mid(name.indexOf('=') + 1);
            name = name.left(name.indexOf('='));
            hasValue = true;
        }
        const bool help = name == "--help" || name == "-h";
        if (help || name == "--version" || name == "--all") {
            // Options that take no value refuse one: "--all=no" must not mean all.
            if (hasValue) return fail(TextKey::OptionTakesNoValue, shownBytes(name));
            if (name == "--all") {
                all = true;
                continue;
            }
            parsed.action =
                help ? ParsedCommandLine::Action::Help : ParsedCommandLine::Action::Version;
            return parsed;
        }
        std::optional<QByteArray>* target = name == "--frequency"  ? &frequency
                                            : name == "--distance" ? &distance
                                            : name == "--out"      ? &out
                                            : name == "--scale"    ? &scale
                                            : name == "--lang"     ? &language
                                            : name == "--step"     ? &step
                                            : name == "--paths"    ? &paths
                                                                   : nullptr;
        if (!target) return fail(TextKey::UnknownOption, shownBytes(arguments[i]));
        if (!hasValue) {
            if (i + 1 >= arguments.size()) return fail(TextKey::OptionNeedsValue, shownBytes(name));
            value = arguments[++i];
        }
        if (target->has_value()) return fail(TextKey::OptionGivenTwice, shownBytes(name));
        *target = value;
        if (target == &language) {
            parsed.options.language = languageCalled(value.toStdString());
            if (!parsed.options.language) return fail(TextKey::UnknownLanguage, shownBytes(value));
        }
    }

    if (!out) return fail(TextKey::MissingOut);
    if (out->isEmpty()) return fail(TextKey::EmptyOut);
    parsed.options.outDir = *out;
    if (scale) {
        if (*scale != "1" && *scale != "2" && *scale != "4") {
            return fail(TextKey::UnknownScale, shownBytes(*scale));
        }
        parsed.options.scale = scale->toInt();
    }
    if (paths && !step) return fail(TextKey::PathsWithoutStep);
    if (all) {
        if (frequency || distance) return fail(TextKey::AllWithOneSetting);
        if (step) return fail(TextKey::StepWithAll);
        parsed.options.settings = allSettings();
    } else {
        if (!frequency || !distance) return fail(TextKey::SettingMissing);
        const FrequencyWord* f = findFrequency(argumentText(*frequency));
        if (!f) return fail(TextKey::UnknownFrequency, shownBytes(*frequency));
        const std::optional<int> d = findDistance(argumentText(*distance));
        if (!d) return fail(TextKey::UnknownDistance, shownBytes(*distance));
        parsed.options.settings = {settingFor(*f, *d)};
        if (step) {
            const std::optional<int> j = stepNamed(*step);
            if (!j) return fail(TextKey::UnknownStep, shownBytes(*step));
            const std::optional<int> n = paths ? pathsNamed(*paths) : kRunPaths;
            if (!n) return fail(TextKey::UnknownPaths, shownBytes(*paths));
            parsed.options.chain = ChainChoice{*j, *n};
        }
    }
    parsed.action = ParsedCommandLine::Action::Export;
    return parsed;
}

}  // namespace kvelmor
