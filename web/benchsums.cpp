// The arithmetic of one default run (221 detector steps of 2003 arrows, chains at every
// twentieth step), timed in WebAssembly as bench/bench_run times it natively. Built beside the
// page; web/tests/bench_page.py runs it in headless Chromium. A run's arrows are computed once a
// setting (run/arrowtable.h): timed both for a setting other than the last run's, and again.
#include <emscripten.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "run/experiment.h"
#include "run/phasor.h"

using namespace kvelmor;

namespace {

double runSums(const Scene& scene, const Wave& wave, std::vector<Point>& chain)
{
    double total = 0;
    for (int j = kFirstOffset; j <= kLastOffset; j += kOffsetStep) {
        const bool drawsChain = j % kChainEvery == 0;
        total += sumArrows(scene, wave, j, drawsChain ? &chain : nullptr).squaredLength;
    }
    return total;
}

}  // namespace

int main()
{
    const Scene scene = Scene::forDistance(350);
    const Wave waves[] = {{1, 0.05}, {1.5, 0.1}};  // "0.6" and "1"
    std::vector<Point> chain;
    std::vector<double> anew, again;
    volatile double sink = 0;
    for (int repetition = 0; repetition < 25; ++repetition) {
        const Wave& wave = waves[repetition % 2];
        double start = emscripten_get_now();
        sink = runSums(scene, wave, chain);
        const double first = emscripten_get_now() - start;
        start = emscripten_get_now();
        sink = runSums(scene, wave, chain);
        const double second = emscripten_get_now() - start;
        if (repetition >= 5) {  // after warming up
            anew.push_back(first);
            again.push_back(second);
        }
    }
    for (std::vector<double>* times : {&anew, &again}) std::sort(times->begin(), times->end());
    std::printf("sums of one run: median %.2f ms, fastest %.2f ms (%zu runs, another setting before"
                " each); again at the same setting: median %.2f ms (total %g)\n",
                anew[anew.size() / 2], anew.front(), anew.size(), again[again.size() / 2],
                double(sink));
    return 0;
}
