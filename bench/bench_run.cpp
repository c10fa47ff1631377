// How long a run takes: its arithmetic alone (221 detector steps of 2003 arrows) by each way of
// computing the sums, beside the plainest scalar loop computing the same sums, and a whole run
// drawn into the window's picture; and the continuous slit's column of a setting's worksheet by
// the kernels of each instruction set this processor runs.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cmath>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "canvas/imagesurface.h"
#include "run/continuousslit.h"
#include "run/experiment.h"
#include "run/phasor.h"

using namespace kvelmor;

namespace {

// The arithmetic of a whole default run, chains recorded at every twentieth step as the run does,
// by one way of computing the sums (registered in main for each one this processor runs).
void RunArithmetic(benchmark::State& state, SumPath path)
{
    const Scene scene = Scene::forDistance(350);
    const Wave wave{1, 0.05};
    std::vector<Point> chain;
    for (auto _ : state) {
        double total = 0;
        for (int j = kFirstOffset; j <= kLastOffset; j += kOffsetStep) {
            const bool drawsChain = j % kChainEvery == 0;
            total += sumArrowsBy(path, scene, wave, j, drawsChain ? &chain : nullptr).squaredLength;
        }
        benchmark::DoNotOptimize(total);
    }
}

// The continuous slit's quadrature at the 221 steps of a setting, by the kernels of `set`.
void ContinuousColumn(benchmark::State& state, lanes::LaneSet set, double distance,
                      const char* frequency)
{
    const Scene scene = Scene::forDistance(distance);
    const Wave wave = *waveForFrequency(frequency);
    for (auto _ : state) {
        double total = 0;
        for (int j = kFirstOffset; j <= kLastOffset; j += kOffsetStep) {
            total += continuousSquaredLengthBy(set, scene, wave, j).squaredLength;
        }
        benchmark::DoNotOptimize(total);
    }
}

// The same 221 sums written as plainly as possible: no chain, no helpers.
void PlainScalarLoop(benchmark::State& state)
{
    const double L = 1, f = 0.05, dx = 5500;
    for (auto _ : state) {
        double total = 0;
        for (int j = 500; j <= 6000; j += 25) {
            const double dy = 7500 - j;
            double tx = dx + L * std::cos((dx - 3500) * f);
            double ty = dy + L * std::sin((dx - 3500) * f);
            for (int k = 0; k <= 1000; ++k) {
                double r =
                    std::sqrt((3500 - dx) * (3500 - dx) + ((3500 - k) - dy) * ((3500 - k) - dy));
                tx += L * std::cos(r * f);
                ty += L * std::sin(r * f);
                r = std::sqrt((3500 - dx) * (3500 - dx) + ((3500 + k) - dy) * ((3500 + k) - dy));
                tx += L * std::cos(r * f);
                ty += L * std::sin(r * f);
            }
            total += (tx - dx) * (tx - dx) + (ty - dy) * (ty - dy);
        }
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(PlainScalarLoop)->Unit(benchmark::kMillisecond);

class BenchHost final : public RunHost {
public:
    std::string settingsText(SettingsBox box) const override
    {
        switch (box) {
        case SettingsBox::nSpomaleni:
            return "1";
        case SettingsBox::nRozteč:
            return "350";
        case SettingsBox::nFi:
            return "0.6";
        }
        return {};
    }
    void placeLabel(SceneLabel, double, double) override {}
    bool pace(double) override { return true; }
};

// A whole run, bench and 221 steps with their 28,528 primitives, into an off-screen picture.
void WholeRunDrawn(benchmark::State& state)
{
    ImageSurface surface({801, 651}, 1, QGuiApplication::palette(), [](const QRect&) {});
    BenchHost host;
    for (auto _ : state) {
        runExperiment(surface, host);
        benchmark::DoNotOptimize(surface.image().constBits());
    }
}
BENCHMARK(WholeRunDrawn)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    for (SumPath path : {SumPath::scalar, SumPath::avx2, SumPath::avx512, SumPath::portable}) {
        if (!sumPathAvailable(path)) continue;
        benchmark::RegisterBenchmark((std::string("RunArithmetic/") + sumPathName(path)).c_str(),
                                     RunArithmetic, path)
            ->Unit(benchmark::kMillisecond);
    }
    // The default setting, and the highest frequency, which samples the slit most finely.
    for (lanes::LaneSet set :
         {lanes::LaneSet::baseline, lanes::LaneSet::avx2, lanes::LaneSet::avx512}) {
        if (!lanes::laneSetAvailable(set)) continue;
        for (const auto& [frequency, distance] : {std::pair{"0.6", 350}, std::pair{"5", 300}}) {
            const std::string name = std::string("ContinuousColumn/") + lanes::laneSetName(set) +
                                     "/" + frequency + "-" + std::to_string(distance);
            benchmark::RegisterBenchmark(name.c_str(), ContinuousColumn, set, distance, frequency)
                ->Unit(benchmark::kMillisecond);
        }
    }
    benchmark::AddCustomContext("sumArrows path", sumPathName(activeSumPath()));
    benchmark::AddCustomContext("lane kernels", lanes::laneSetName(lanes::activeLaneSet()));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
