#include "run/portablemath.h"

#include <cmath>
#include <cstdint>
#include <limits>

// Everything here is plain double arithmetic in a fixed order. The build compiles this file with
// -ffp-contract=off: a fused multiply-add rounds once where a multiplication and an addition round
// twice, so a compiler that fused some of them on one machine would change the last bits.

namespace kvelmor {

namespace {

constexpr double factorial(int n)
{
    double f = 1;
    for (int k = 2; k <= n; ++k) f *= k;  // exact: 18! is below 2^53
    return f;
}

// p(z) = t[0] + t[1] z + ... + t[7] z^7 by Estrin's scheme: pairs first, then pairs of pairs, so
// that a processor works on several of its products at once rather than one after another.
inline double polynomial(double z, const double (&t)[8])
{
    const double z2 = z * z;
    const double z4 = z2 * z2;
    return ((t[0] + z * t[1]) + z2 * (t[2] + z * t[3])) +
           z4 * ((t[4] + z * t[5]) + z2 * (t[6] + z * t[7]));
}

// Taylor's series of sin and cos about 0, on |r| <= pi/4: sin r = r + r z S(z), cos r = 1 - z/2 +
// z^2 C(z), z = r^2, up to r^17 and r^18. The first terms left out, r^19/19! and r^20/20!, are
// below 1e-19 there.
constexpr double kSinTerms[] = {-1 / factorial(3),  1 / factorial(5),   -1 / factorial(7),
                                1 / factorial(9),   -1 / factorial(11), 1 / factorial(13),
                                -1 / factorial(15), 1 / factorial(17)};
constexpr double kCosTerms[] = {1 / factorial(4),   -1 / factorial(6), 1 / factorial(8),
                                -1 / factorial(10), 1 / factorial(12), -1 / factorial(14),
                                1 / factorial(16),  -1 / factorial(18)};

constexpr double kTwoOverPi = 0x1.45f306dc9c883p-1;
// pi/2 = kHalfPi1 + kHalfPi2 + kHalfPi3 to 122 bits. The first two have 33 significant bits, so
// that n times each is exact for |n| < 2^20, and the angle minus n kHalfPi1 is exact as well.
constexpr double kHalfPi1 = 0x1.921fb544p+0;
constexpr double kHalfPi2 = 0x1.0b4611a6p-34;
constexpr double kHalfPi3 = 0x1.3198a2e037p-69;
// Added and subtracted again, it rounds a number below 2^51 to the nearest whole number.
constexpr double kRoundingShift = 0x1.8p52;
constexpr double kLargestAngle = 0x1p50;

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
    const double series = u + u * (u * u) * polynomial(u * u, kAtanTerms);
    return kAtanOfEighths[eighth].nearest + (kAtanOfEighths[eighth].rest + series);
}

// The same bits seen as another type of the same size (std::bit_cast, which not every standard
// library this is built with has yet).
template <typename To, typename From>
To bits(From from)
{
    return __builtin_bit_cast(To, from);
}

// cos and sin of one angle, without a branch, so that a loop over many angles can compute
// several at once with the same operations, and so the same bits, as one at a time.
[[gnu::always_inline]] inline CosSin cosSinOf(double angle)
{
    // angle = n pi/2 + r with n whole and |r| <= pi/4, give or take a rounding. `shifted` holds n
    // in its last bits.
    const double shifted = angle * kTwoOverPi + kRoundingShift;
    const double n = shifted - kRoundingShift;
    const double r = ((angle - n * kHalfPi1) - n * kHalfPi2) - n * kHalfPi3;
    const double z = r * r;
    const double sine = r + r * z * polynomial(z, kSinTerms);
    const double cosine = (1 - 0.5 * z) + z * z * polynomial(z, kCosTerms);
    // Turned by n quarter turns, (c, s) -> (-s, c) for each: quadrants 1 and 3 swap the two, 1 and
    // 2 negate the cosine (its sign bit flipped), 2 and 3 the sine.
    const std::uint64_t quadrant = bits<std::uint64_t>(shifted);
    const bool swapped = (quadrant & 1) != 0;
    const std::uint64_t cosFlip = ((quadrant + 1) & 2) << 62;
    const std::uint64_t sinFlip = (quadrant & 2) << 62;
    const double cos = bits<double>(bits<std::uint64_t>(swapped ? sine : cosine) ^ cosFlip);
    const double sin = bits<double>(bits<std::uint64_t>(swapped ? cosine : sine) ^ sinFlip);
    const bool reduced = std::abs(angle) <= kLargestAngle;  // false for infinities and NaN too
    const double nan = std::numeric_limits<double>::quiet_NaN();
    return {reduced ? cos : nan, reduced ? sin : nan};
}

}  // namespace

CosSin portableCosSin(double angle)
{
    return cosSinOf(angle);
}

// Processors with AVX2 take four angles at a time, others two (SSE2); the same bits either way.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
__attribute__((target_clones("avx2", "default")))
#endif
void portableCosSins(const double* angles, double* cosines, double* sines, int count)
{
    for (int i = 0; i < count; ++i) {
        const CosSin direction = cosSinOf(angles[i]);
        cosines[i] = direction.cos;
        sines[i] = direction.sin;
    }
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
