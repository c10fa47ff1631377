#pragma once

// A vector of doubles as wide as the instruction set this file is compiled for: eight with
// AVX-512, four with AVX2, two with SSE2. In WebAssembly four: two of its 128-bit SIMD registers,
// or, without SIMD, four doubles one after the other, whose independent work a browser's engine
// interleaves better than that of two (measured: 10% faster). Elsewhere two, which the compiler
// handles as its vector unit allows. GCC's and Clang's vector extensions give it the arithmetic
// operators, lane by lane, each lane rounded as a double alone would be.
//
// Only lanekernels.cpp includes this, once per instruction set; everything here has internal
// linkage (see portablecossin.h).

#include <cstdint>

#if defined(__AVX512F__) || defined(__AVX2__) || defined(__SSE2__)
#include <immintrin.h>
#elif defined(__wasm_simd128__)
#include <wasm_simd128.h>
#endif

namespace kvelmor::lanes {

namespace {

#if defined(__AVX512F__)
constexpr int kLanes = 8;
#elif defined(__AVX2__) || defined(__wasm__)
constexpr int kLanes = 4;
#else
constexpr int kLanes = 2;
#endif

typedef double Doubles __attribute__((vector_size(kLanes * sizeof(double))));
typedef std::uint64_t Words __attribute__((vector_size(kLanes * sizeof(double))));

[[gnu::always_inline]] inline Doubles squareRoot(Doubles v)
{
#if defined(__AVX512F__)
    // The masked form with every lane chosen: the plain one starts from an undefined vector,
    // which GCC 12 takes for an uninitialised variable.
    return Doubles(_mm512_mask_sqrt_pd(__m512d(v), __mmask8(0xFF), __m512d(v)));
#elif defined(__AVX2__)
    return Doubles(_mm256_sqrt_pd(__m256d(v)));
#elif defined(__SSE2__)
    return Doubles(_mm_sqrt_pd(__m128d(v)));
#elif defined(__wasm_simd128__)
    // Two registers' worth, a register at a time.
    typedef double Pair __attribute__((vector_size(2 * sizeof(double))));
    const Pair low = Pair(wasm_f64x2_sqrt(v128_t(__builtin_shufflevector(v, v, 0, 1))));
    const Pair high = Pair(wasm_f64x2_sqrt(v128_t(__builtin_shufflevector(v, v, 2, 3))));
    return __builtin_shufflevector(low, high, 0, 1, 2, 3);
#else
    Doubles root;
    for (int i = 0; i < kLanes; ++i) root[i] = __builtin_sqrt(v[i]);
    return root;
#endif
}

// kLanes doubles from `from`, which need not be aligned.
[[gnu::always_inline]] inline Doubles load(const double* from)
{
    Doubles v;
    __builtin_memcpy(&v, from, sizeof v);
    return v;
}

}  // namespace

}  // namespace kvelmor::lanes
