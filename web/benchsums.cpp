// The arithmetic of one default run (221 detector steps of 2003 arrows, chains at every
// twentieth step), timed in WebAssembly as bench/bench_run times it natively. Built beside the
// page; web/tests/bench_page.py runs it in headless Chromium.
#include <emscripten.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "run/experiment.h"
#include "run/phasor.h"

using namespace kvelmor;

int main()
{
    const Scene scene = Scene::forDistance(350);
    const Wave wave{1, 0.05};
    std::vector<Point> chain;
    std::vector<double> times;
    volatile double sink = 0;
    for (int repetition = 0; repetition < 25; ++repetition) {
        const double start = emscripten_get_now();
        double total = 0;
        for (int j = kFirstOffset; j <= kLastOffset; j += kOffsetStep) {
            const bool drawsChain = j % kChainEvery == 0;
            total += sumArrows(scene, wave, j, drawsChain ? &chain : nullptr).squaredLength;
        }
        sink = total;
        if (repetition >= 5) times.push_back(emscripten_get_now() - start);  // after warming up
    }
    std::sort(times.begin(), times.end());
    std::printf("sums of one run: median %.2f ms, fastest %.2f ms (%zu runs, total %g)\n",
                times[times.size() / 2], times.front(), times.size(), double(sink));
    return 0;
}
