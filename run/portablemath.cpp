#include "run/portablemath.h"

#include <cmath>
#include <cstdint>

#include "run/lanekernels.h"
#include "run/portablecossin.h"

// Everything here is plain double arithmetic in a fixed order. The build compiles this file with
// -ffp-contract=off: a fused multiply-add rounds once where a multiplication and an addition round
// twice, so a compiler that fused some of them on one machine would change the last bits.

namespace kvelmor {

namespace {

// pi and pi/2 as the double nearest to them plus the remainder.
constexpr double kPi = 0x1.921fb54442d18p+1;
constexpr double kPiRest = 0x1.1a62633145c07p-53;
constexpr double kHalfPi = 0x1.921fb54442d18p+0;
constexpr double kHalfPiRest = 0x1.1a62633145c07p-54;

// atan(i/8) for i = 0..8, as the nearest double plus the remainder (computed in 113-bit
// arithmetic).
struct Split {
    double nearest;
    double rest;
};
constexpr Split kAtanOfEighths[] = {
    {0x0p+0, 0x0p+0},
    {0x1.fd5ba9aac2f6ep-4, -0x1.cd37686760c17p-59},
    {0x1.f5b75f92c80ddp-3, 0x1.8ab6e3cf7afbdp-57},
    {0x1.6f61941e4def1p-2, -0x1.c63aae6f6e918p-56},
    {0x1.dac670561bb4fp-2, 0x1.a2b7f222f65e2p-56},
    {0x1.1e00babdefeb4p-1, -0x1.928df287a668fp-58},
    {0x1.4978fa3269ee1p-1, 0x1.2419a87f2a458p-56},
    {0x1.700a7c5784634p-1, -0x1.8c34d25aadef6p-56},
    {0x1.921fb54442d18p-1, 0x1.1a62633145c07p-55},
};

// atan u = u + u z A(z), z = u^2, up to u^17; for |u| <= 1/16 the first term left out, u^19/19,
// is below 1e-22 of u.
constexpr double kAtanTerms[] = {-1.0 / 3,  1.0 / 5,  -1.0 / 7,  1.0 / 9,
                                 -1.0 / 11, 1.0 / 13, -1.0 / 15, 1.0 / 17};

// atan t for 0 <= t <= 1: atan t = atan c + atan u with c the nearest eighth to t and
// u = (t - c) / (1 + t c), so |u| <= 1/16.
double atanOfUnit(double t)
{
    const int eighth = static_cast<int>(t * 8 + 0.5);
    const double c = eighth * 0.125;
    const double u = (t - c) / (1 + t * c);  // t - c is exact: t lies within c/2 of c
    const double series = u + u * (u * u) * portable::polynomial(u * u, kAtanTerms);
    return kAtanOfEighths[eighth].nearest + (kAtanOfEighths[eighth].rest + series);
}

}  // namespace

CosSin portableCosSin(double angle)
{
    CosSin direction;
    portable::cosSin<double, std::uint64_t>(angle, direction.cos, direction.sin);
    return direction;
}

void portableCosSins(const double* angles, double* cosines, double* sines, int count)
{
    lanes::activeKernels().cosSins(angles, cosines, sines, count);
}

double portableAtan2(double y, double x)
{
    if (std::isnan(x) || std::isnan(y)) return x + y;
    const double ax = std::fabs(x);
    const double ay = std::fabs(y);
    double angle;  // of (|x|, |y|), 0 to pi/2
    if (ay == 0) {
        angle = 0;
    } else if (ax == 0 || (std::isinf(ay) && !std::isinf(ax))) {
        return std::copysign(kHalfPi, y);  // straight up or down, whatever the sign of x
    } else if (std::isinf(ax) && std::isinf(ay)) {
        angle = kAtanOfEighths[8].nearest;
    } else if (ay <= ax) {
        angle = atanOfUnit(ay / ax);
    } else {
        angle = kHalfPi + (kHalfPiRest - atanOfUnit(ax / ay));
    }
    if (std::signbit(x)) angle = kPi + (kPiRest - angle);
    return std::copysign(angle, y);
}

}  // namespace kvelmor
