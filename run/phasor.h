#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "run/phasor_simd.h"
#include "run/scene.h"

namespace kvelmor {

// kSlitOffsets, kArrowsPerStep and kChainPoints, the counts of a step's arrows, come from
// phasor_simd.h, which the vector sums share.

// Arrow length L (twips) and wave-number factor f (radians per twip of path) of one frequency.
struct Wave {
    double arrowLength;
    double waveNumber;
};

// The wave for the text of the frequency box ("5", "1" and the texts of 0.6, 0.2, 0.03, tried in
// that order); nothing for any other text.
std::optional<Wave> waveForFrequency(std::string_view frequencyText);

// The scale of the probability bars for the text of the distance box: "300" -> 0.017,
// "350" -> 0.009, "400" -> 0.006; nothing for any other text.
std::optional<double> barScaleForDistance(std::string_view distanceText);

struct StepSum {
    Point straightTip;     // end of the straight arrow, drawn at every step
    Point tip;             // end of the whole chain
    double squaredLength;  // |tip - D|^2, the unscaled detection probability
};

// The phasor sum for the detector point D = (detectorX, benchBottom - j).
//
// Starting at T = D, T moves by L (cos(f r), sin(f r)) for each path length r, in this order:
//   r_0 = detectorX - screenX                                    (the straight arrow)
//   for k = 0..1000:
//     r_up(k)   = sqrt((screenX - detectorX)^2 + ((axisY - k) - D_y)^2)
//     r_down(k) = sqrt((screenX - detectorX)^2 + ((axisY + k) - D_y)^2)
// so the slit centre (k = 0) counts twice. The result is T and |T - D|^2, all in double precision.
//
// When `chain` is given it receives the kChainPoints points D, T_1, ..., T_2003 of the chain,
// each the running sum of the arrows before it.
//
// sumArrows computes it by activeSumPath(). The paths differ from one another only in the last
// bits of the cosines and sines and, at the glibc vector paths' steps without chain, in the order
// of adding them up: over all settings and steps the squared lengths agree to 3e-11 of their own
// size.
StepSum sumArrows(const Scene& scene, const Wave& wave, double j,
                  std::vector<Point>* chain = nullptr);

// How a step's 2003 cosines and sines are computed: one at a time by libm; four (AVX2 with FMA)
// or eight (AVX-512) at a time by glibc's vector functions; or by the program's own cosine and
// sine (portablemath.h), as many at a time as the processor's vector unit takes (lanekernels.h),
// the arrows added one after another, which gives the same bits on every processor and in
// WebAssembly; at a run's steps each of those arrows is computed once for the whole run
// (arrowtable.h), the same bits again. The glibc paths exist in x86-64 builds with GCC only,
// where sumArrows takes the widest of them the processor runs, or else the scalar loop; every
// other build, WebAssembly among them, takes the portable path.
enum class SumPath { scalar, avx2, avx512, portable };

// Whether `path` is built into this program and this processor can run it.
bool sumPathAvailable(SumPath path);

// The path sumArrows takes, chosen once from the build and the processor's features.
SumPath activeSumPath();

const char* sumPathName(SumPath path);

// The same sum by `path`; a path that is not available falls back to the scalar one.
StepSum sumArrowsBy(SumPath path, const Scene& scene, const Wave& wave, double j,
                    std::vector<Point>* chain = nullptr);

}  // namespace kvelmor
