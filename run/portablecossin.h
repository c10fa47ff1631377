#pragma once

// The formula of the program's own cosine and sine (portablemath.h), written once for one double
// and for a vector of several (lanes.h): the same operations in the same order on every lane, so
// that a lane gives the bits that one double alone gives.
//
// Included by files that are compiled for different instruction sets. Everything here has
// internal linkage, so that no copy built for one instruction set can stand in for another's at
// link time, and it uses plain operators only: +, -, *, bitwise operations and shifts.

#include <cstdint>

namespace kvelmor::portable {

namespace {

constexpr double factorial(int n)
{
    double f = 1;
    for (int k = 2; k <= n; ++k) f *= k;  // exact: 18! is below 2^53
    return f;
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
// Beyond this the reduction is no longer trusted: the result is NaN, as for infinities and NaN.
constexpr double kLargestAngle = 0x1p50;

constexpr std::uint64_t kSignBit = std::uint64_t(1) << 63;
constexpr std::uint64_t kQuietNaNBits = 0x7ff8000000000000;

// p(z) = t[0] + t[1] z + ... + t[7] z^7 by Estrin's scheme: pairs first, then pairs of pairs, so
// that a processor works on several of its products at once rather than one after another.
template <typename D>
[[gnu::always_inline]] inline D polynomial(D z, const double (&t)[8])
{
    const D z2 = z * z;
    const D z4 = z2 * z2;
    return ((t[0] + z * t[1]) + z2 * (t[2] + z * t[3])) +
           z4 * ((t[4] + z * t[5]) + z2 * (t[6] + z * t[7]));
}

// All ones where `magnitude` is not at most kLargestAngle (NaN among them), else all zeros: for
// one double, and for a vector of them, whose comparison gives such a mask by itself.
template <typename U>
[[gnu::always_inline]] inline U beyondReduction(double magnitude)
{
    return -U(!(magnitude <= kLargestAngle));
}

template <typename U, typename D>
[[gnu::always_inline]] inline U beyondReduction(D magnitude)
{
    return ~__builtin_bit_cast(U, magnitude <= kLargestAngle);
}

// cos and sin of `angle`, D a double and U std::uint64_t, or D a vector of doubles and U the
// vector of as many 64-bit words. No branch: choices are made with masks of all ones or all
// zeros, which a word and a vector of words hold alike.
template <typename D, typename U>
[[gnu::always_inline]] inline void cosSin(D angle, D& cos, D& sin)
{
    // angle = n pi/2 + r with n whole and |r| <= pi/4, give or take a rounding. `shifted` holds n
    // in its last bits.
    const D shifted = angle * kTwoOverPi + kRoundingShift;
    const D n = shifted - kRoundingShift;
    const D r = ((angle - n * kHalfPi1) - n * kHalfPi2) - n * kHalfPi3;
    const D z = r * r;
    const D sine = r + r * z * polynomial(z, kSinTerms);
    const D cosine = (1.0 - 0.5 * z) + z * z * polynomial(z, kCosTerms);
    // Turned by n quarter turns, (c, s) -> (-s, c) for each: quadrants 1 and 3 swap the two, 1 and
    // 2 negate the cosine (its sign bit flipped), 2 and 3 the sine.
    const U quadrant = __builtin_bit_cast(U, shifted);
    const U swapped = -(quadrant & 1);
    const U cosFlip = ((quadrant + 1) & 2) << 62;
    const U sinFlip = (quadrant & 2) << 62;
    const U sineBits = __builtin_bit_cast(U, sine);
    const U cosineBits = __builtin_bit_cast(U, cosine);
    U cosBits = ((swapped & sineBits) | (~swapped & cosineBits)) ^ cosFlip;
    U sinBits = ((swapped & cosineBits) | (~swapped & sineBits)) ^ sinFlip;
    // NaN where |angle| is above kLargestAngle, infinite or NaN.
    const D magnitude = __builtin_bit_cast(D, __builtin_bit_cast(U, angle) & ~kSignBit);
    const U beyond = beyondReduction<U>(magnitude);
    cosBits = (cosBits & ~beyond) | (kQuietNaNBits & beyond);
    sinBits = (sinBits & ~beyond) | (kQuietNaNBits & beyond);
    cos = __builtin_bit_cast(D, cosBits);
    sin = __builtin_bit_cast(D, sinBits);
}

}  // namespace

}  // namespace kvelmor::portable
