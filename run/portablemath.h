#pragma once

namespace kvelmor {

// Cosine, sine and arctangent of the program's own, for numbers that must come out the same to
// the last bit wherever they are computed: on any x86-64 processor and in WebAssembly, whose C
// libraries round their last bits differently. They use only +, -, *, /, comparisons and sign flips
// in double precision, each rounded once (the files are compiled without contraction into fused
// multiply-adds), so the same input gives the same bits on every machine that follows IEEE 754.
// They are accurate to two or three units in the last place; cos and sin to 2e-16 absolute.

struct CosSin {
    double cos;
    double sin;
};

// cos and sin of `angle` (radians). The angle is reduced by the nearest multiple of pi/2, taken in
// three parts (Cody and Waite), which is exact enough for |angle| up to 2^20 pi/2, far beyond the
// sums' largest angles (about 30000); up to 2^50 the result grows less accurate, and beyond it, as
// for infinities and NaN, both are NaN.
CosSin portableCosSin(double angle);

// portableCosSin of `count` angles, into `cosines` and `sines`: the same bits, computed several at
// a time where the processor can.
void portableCosSins(const double* angles, double* cosines, double* sines, int count);

// The angle of the point (x, y) in (-pi, pi], as std::atan2 defines it, signed zeros and
// infinities included.
double portableAtan2(double y, double x);

}  // namespace kvelmor
