// kvelmor_worksheets OUT [F-D ...]: writes the worksheet files of the settings F-D ("0.6-350"; all
// fifteen when none is named) into OUT/cs/ and OUT/en/ under the names kvelmor-export gives them,
// and the CSV and SVG of four of each setting's chains into OUT/chains/ as kvelmor-export --lang cs
// --step J --paths N names them, and prints how long each setting's numbers took. A test tool: the
// same source runs natively and as WebAssembly under node, and the files of the two must be the
// same bytes.
//
// Into OUT/sums/ it writes the run's sums as this build draws them (sumArrows), which are the
// same bits in its WebAssembly builds with SIMD and without.
#include <sys/stat.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "explore/chainfiles.h"
#include "explore/paths.h"
#include "layout/settings.h"
#include "run/experiment.h"
#include "run/numbertext.h"
#include "run/phasor.h"
#include "worksheet/worksheet.h"

using namespace kvelmor;

namespace {

bool makeFolder(const std::string& path)
{
    return mkdir(path.c_str(), 0777) == 0 || errno == EEXIST;
}

bool writeFile(const std::string& path, const std::string& bytes)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

// Each folder's language: that of every word of its plots.
struct Folder {
    const char* name;
    Language plot;
};
constexpr Folder kLanguages[] = {{"/cs", Language::Czech}, {"/en", Language::English}};

// Every step's sum as the run draws it, one line a step: j, the straight arrow's tip, the chain's
// tip, the squared length and the bar's length, in hexadecimal floating point, and at the chain
// steps a checksum of the chain's points (FNV-1a over their bits).
std::string runSums(const std::string& frequency, int distance)
{
    const Wave wave = waveForFrequency(frequency).value_or(Wave{0, 0});
    const double barScale = barScaleForDistance(numberText(distance)).value_or(0);
    const Scene scene = Scene::forDistance(distance);
    std::string text;
    std::vector<Point> chain;
    char line[256];
    for (int j = kFirstOffset; j <= kLastOffset; j += kOffsetStep) {
        const bool drawsChain = j % kChainEvery == 0;
        const StepSum sum = sumArrows(scene, wave, j, drawsChain ? &chain : nullptr);
        std::snprintf(line, sizeof line, "%d %a %a %a %a %a %a", j, sum.straightTip.x,
                      sum.straightTip.y, sum.tip.x, sum.tip.y, sum.squaredLength,
                      sum.squaredLength * barScale);
        text += line;
        if (drawsChain) {
            std::uint64_t hash = 14695981039346656037u;
            for (const Point& p : chain) {
                for (double v : {p.x, p.y}) {
                    hash = (hash ^ __builtin_bit_cast(std::uint64_t, v)) * 1099511628211u;
                }
            }
            std::snprintf(line, sizeof line, " chain %zu %016llx", chain.size(),
                          static_cast<unsigned long long>(hash));
            text += line;
        }
        text += '\n';
    }
    return text;
}

// "0.6-350" for every frequency and distance option, in the window's order.
std::vector<std::string> allSettings()
{
    std::vector<std::string> settings;
    for (const OptionAction& frequency : optionActions()) {
        if (frequency.box != SettingsBox::nFi) continue;
        for (const OptionAction& distance : optionActions()) {
            if (distance.box != SettingsBox::nRozteč) continue;
            settings.push_back(numberText(frequency.value) + '-' + numberText(distance.value));
        }
    }
    return settings;
}

// The explorer's files of a few chains: the fewest arrows at the bottom step, the run's own at
// the centre and the continuous slit at the top, with a count between.
bool writeChains(const std::string& folder, const std::string& frequency, int distance)
{
    const std::optional<ExploreSetting> setting = exploreSettingFor(frequency, distance);
    if (!setting) return false;
    Explorer explorer(*setting);
    for (const auto& [step, paths] :
         {std::pair(0, 2), std::pair(46, 200), std::pair(140, kRunPaths),
          std::pair(kLastStep, kInfinitePaths)}) {
        explorer.choose(step, paths);
        const std::string base = folder + '/' + chainFileBase(*setting, step, paths);
        if (!writeFile(base + ".csv", chainCsv(explorer.chain())) ||
            !writeFile(base + ".svg", chainSvg(explorer, Language::Czech))) {
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUT [FREQUENCY-DISTANCE ...]\n", argv[0]);
        return 2;
    }
    const std::string out = argv[1];
    std::vector<std::string> settings(argv + 2, argv + argc);
    if (settings.empty()) settings = allSettings();
    for (const char* language : {"", "/cs", "/en", "/chains", "/sums"}) {
        if (!makeFolder(out + language)) {
            std::fprintf(stderr, "cannot make %s%s\n", out.c_str(), language);
            return 1;
        }
    }

    double total = 0;
    for (const std::string& setting : settings) {
        const std::size_t dash = setting.find('-');
        const std::string frequency = setting.substr(0, dash);
        const int distance = dash == std::string::npos
                                 ? 0
                                 : int(numberFromText(std::string_view(setting).substr(dash + 1)));
        const auto start = std::chrono::steady_clock::now();
        const std::vector<StepRow> rows = settingTable(frequency, distance);
        const std::string csv = csvText(rows);
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
        if (rows.empty()) {
            std::fprintf(stderr, "not a setting: %s\n", setting.c_str());
            return 2;
        }
        total += ms;
        std::printf("%s: numbers and CSV in %.1f ms\n", setting.c_str(), ms);
        const std::string base = "/kvelmor-" + setting;
        // cs/ as kvelmor-export writes it under a Czech locale, en/ under any other and with
        // --lang en.
        for (const auto& [name, plot] : kLanguages) {
            const std::string folder = out + name;
            const std::string svg = plotSvg(
                plotRows(rows), plotTexts(plot, frequencyCaption(frequency, plot), distance));
            if (!writeFile(folder + base + ".csv", csv) ||
                !writeFile(folder + base + "-plot.svg", svg)) {
                std::fprintf(stderr, "cannot write into %s\n", folder.c_str());
                return 1;
            }
        }
        if (!writeChains(out + "/chains", frequency, distance)) {
            std::fprintf(stderr, "cannot write into %s/chains\n", out.c_str());
            return 1;
        }
        if (!writeFile(out + "/sums" + base + "-sums.txt", runSums(frequency, distance))) {
            std::fprintf(stderr, "cannot write into %s/sums\n", out.c_str());
            return 1;
        }
    }
    std::printf("all %zu settings: %.1f ms\n", settings.size(), total);
    return 0;
}
