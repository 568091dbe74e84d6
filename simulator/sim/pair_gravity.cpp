// Pair-once gravity kernels: one body (pair_gravity_kernel.inc), compiled for the portable path,
// AVX2 and AVX-512. Compiled without FMA contraction: the fused multiply-adds are written out at
// fixed places (fmadd, fnmadd), so that every path rounds every operation alike.
#include "pair_gravity.h"

#include <algorithm>
#include <cstring>

#pragma GCC diagnostic ignored "-Wpsabi"

namespace {

// First guess of 1/sqrt(x) from the bits of x: within 3.5 % over all normal doubles.
constexpr uint64_t kInverseRootMagic = 0x5FE6EB50C7B537A9ull;

// a * b + c and c - a * b, rounded once: the C library's fma, exact on every processor (the
// instruction where the processor has one). The wide paths below use the instruction itself;
// contraction by the compiler is off, since it would fuse at places that differ between paths.
namespace portable {

typedef double Lanes __attribute__((vector_size(16)));
typedef int64_t Mask __attribute__((vector_size(16)));
typedef uint64_t Bits __attribute__((vector_size(16)));
constexpr size_t kLanes = 2;

template <class T>
inline __attribute__((always_inline)) T fmadd(const T& a, const T& b, const T& c) {
    T r;
    for (size_t l = 0; l < sizeof(T) / sizeof(double); ++l) r[l] = __builtin_fma(a[l], b[l], c[l]);
    return r;
}
template <class T>
inline __attribute__((always_inline)) T fnmadd(const T& a, const T& b, const T& c) {
    T r;
    for (size_t l = 0; l < sizeof(T) / sizeof(double); ++l) r[l] = __builtin_fma(-a[l], b[l], c[l]);
    return r;
}
inline double fmadd(double a, double b, double c) { return __builtin_fma(a, b, c); }
inline double fnmadd(double a, double b, double c) { return __builtin_fma(-a, b, c); }

#include "pair_gravity_kernel.inc"

}  // namespace portable

#if defined(__x86_64__) || defined(__i386__)
#define CELESTRIX_X86 1

// Everything defined from here to the matching pop is compiled for AVX2 with FMA.
#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2,fma"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2,fma")
#endif
namespace avx2 {

typedef double Lanes __attribute__((vector_size(32)));
typedef int64_t Mask __attribute__((vector_size(32)));
typedef uint64_t Bits __attribute__((vector_size(32)));
constexpr size_t kLanes = 4;

inline __attribute__((always_inline)) Lanes fmadd(const Lanes& a, const Lanes& b, Lanes c) {
    asm("vfmadd231pd %2, %1, %0" : "+x"(c) : "x"(a), "x"(b));
    return c;
}
inline __attribute__((always_inline)) Lanes fnmadd(const Lanes& a, const Lanes& b, Lanes c) {
    asm("vfnmadd231pd %2, %1, %0" : "+x"(c) : "x"(a), "x"(b));
    return c;
}

#include "pair_gravity_kernel.inc"

}  // namespace avx2
#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif

// And from here to the pop for AVX-512.
#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx512f"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx512f")
#endif
namespace avx512 {

typedef double Lanes __attribute__((vector_size(64)));
typedef int64_t Mask __attribute__((vector_size(64)));
typedef uint64_t Bits __attribute__((vector_size(64)));
constexpr size_t kLanes = 8;

inline __attribute__((always_inline)) Lanes fmadd(const Lanes& a, const Lanes& b, Lanes c) {
    asm("vfmadd231pd %2, %1, %0" : "+v"(c) : "v"(a), "v"(b));
    return c;
}
inline __attribute__((always_inline)) Lanes fnmadd(const Lanes& a, const Lanes& b, Lanes c) {
    asm("vfnmadd231pd %2, %1, %0" : "+v"(c) : "v"(a), "v"(b));
    return c;
}

#include "pair_gravity_kernel.inc"

}  // namespace avx512
#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif
#endif

}  // namespace

double inverseCubeOfDistance(double distanceSquared) {
    double y;
    portable::inverseCube<double, uint64_t>(distanceSquared, y);
    return y;
}

std::vector<size_t> pairSegmentRows(size_t count) {
    const size_t blocks = (count + kPairBlock - 1) / kPairBlock;
    std::vector<size_t> rows{0};
    if (blocks == 0) return rows;
    const size_t segments = std::min(blocks, kMostPairSegments);
    const size_t tiles = blocks * (blocks + 1) / 2;
    size_t done = 0;
    for (size_t row = 0; row < blocks; ++row) {
        done += blocks - row;  // row `row` holds this many tiles
        if (done * segments >= rows.size() * tiles) rows.push_back(row + 1);
    }
    return rows;
}

IntegratorPath bestIntegratorPath() {
#ifdef CELESTRIX_X86
    if (__builtin_cpu_supports("avx512f")) return IntegratorPath::Avx512;
    if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma")) return IntegratorPath::Avx2;
#endif
    return IntegratorPath::Scalar;
}

bool integratorPathSupported(IntegratorPath path) {
    switch (path) {
        case IntegratorPath::Auto:
        case IntegratorPath::Scalar: return true;
#ifdef CELESTRIX_X86
        case IntegratorPath::Avx2: return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
        case IntegratorPath::Avx512: return __builtin_cpu_supports("avx512f");
#endif
        default: return false;
    }
}

PairKernel pairKernelFor(IntegratorPath path) {
    switch (path) {
#ifdef CELESTRIX_X86
        case IntegratorPath::Avx512: return avx512::rows;
        case IntegratorPath::Avx2: return avx2::rows;
#endif
        default: return portable::rows;
    }
}
