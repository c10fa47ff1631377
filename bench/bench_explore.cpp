// How long the explorer takes for a change of point or of count: the chain and the readouts
// computed, and the chain and the pattern drawn into pictures as the window's explorer draws
// them (new off-screen images of 560 x 560 and 140 x 560 pixels, as each change makes, drawn by
// the one picture code, PixelPicture).
#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include "canvas/imagesurface.h"
#include "explore/chainpicture.h"
#include "explore/explorer.h"
#include "explore/paths.h"
#include "explore/patternpicture.h"
#include "explore/readouts.h"

using namespace kvelmor;

namespace {

constexpr int kSize = 560;
constexpr int kPatternWidth = 140;

// One change: the model computes what the views need, and they draw it: the chain and the
// pattern with the chosen step marked, each into a new picture.
void computeAndDraw(Explorer& explorer)
{
    const Readouts readouts = readoutsOf(explorer);
    benchmark::DoNotOptimize(readouts);
    ImageSurface chain({kSize, kSize}, 1, QGuiApplication::palette(), {});
    drawChainPicture(chain, explorer.chain(), explorer.curve(), explorer.paths() == kInfinitePaths,
                     {0, 0, kSize, kSize});
    benchmark::DoNotOptimize(chain.image().constBits());
    ImageSurface pattern({kPatternWidth, kSize}, 1, QGuiApplication::palette(), {});
    drawPattern(pattern, patternOf(explorer, kLastStep), explorer.step(),
                {0, 0, kPatternWidth, kSize});
    benchmark::DoNotOptimize(pattern.image().constBits());
}

// The explorer as it stands once open: its copy of the run's pattern has made it compute the
// run's sums and the continuous slit's at every step.
Explorer explorerFor(const char* frequency)
{
    Explorer explorer(*exploreSettingFor(frequency, 350));
    explorer.highestSquaredLength();
    for (int step = 0; step < kStepCount; ++step) explorer.continuousSum(step);
    return explorer;
}

// A new detector step with the run's 2003 arrows: a new chain and a new continuous curve. Each
// iteration goes to a step not visited before, so nothing is reused.
void ChangeOfPoint(benchmark::State& state, const char* frequency)
{
    int step = 0;
    Explorer explorer = explorerFor(frequency);
    for (auto _ : state) {
        if (step > kLastStep) {
            state.PauseTiming();
            explorer = explorerFor(frequency);
            step = 0;
            state.ResumeTiming();
        }
        explorer.choose(step++, kRunPaths);
        computeAndDraw(explorer);
    }
}

// The worst case: back and forth between the setting's two darkest steps, whose chains are the
// longest tangles to draw, a new chain and curve each time.
void ChangeOfPointInTheDark(benchmark::State& state, const char* frequency)
{
    Explorer explorer = explorerFor(frequency);
    int darkest = 0, next = 1;
    for (int step = 0; step < kStepCount; ++step) {
        const double p = explorer.runSquaredLength(step);
        if (p < explorer.runSquaredLength(darkest)) {
            next = darkest;
            darkest = step;
        } else if (step != darkest && p < explorer.runSquaredLength(next)) {
            next = step;
        }
    }
    int n = 0;
    for (auto _ : state) {
        explorer.choose(n++ % 2 ? darkest : next, kRunPaths);
        computeAndDraw(explorer);
    }
}

// The same step with another count: a new chain, the same continuous curve.
void ChangeOfCount(benchmark::State& state, const char* frequency)
{
    Explorer explorer = explorerFor(frequency);
    explorer.choose(110, kRunPaths);
    computeAndDraw(explorer);
    std::size_t choice = 0;
    for (auto _ : state) {
        explorer.choose(110, kPathChoices[choice++ % kPathChoices.size()]);
        computeAndDraw(explorer);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    for (const char* frequency : {"0.03", "0.2", "0.6", "1", "5"}) {
        benchmark::RegisterBenchmark((std::string("ChangeOfPoint/f=") + frequency).c_str(),
                                     ChangeOfPoint, frequency)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((std::string("ChangeOfCount/f=") + frequency).c_str(),
                                     ChangeOfCount, frequency)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((std::string("ChangeOfPointInTheDark/f=") + frequency).c_str(),
                                     ChangeOfPointInTheDark, frequency)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
