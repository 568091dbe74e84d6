// Pair-once gravity kernels: one template, compiled for the portable path, AVX2 and AVX-512.
// Compiled without FMA contraction, so that every path rounds every operation alike.
#include "pair_gravity.h"

#include <algorithm>
#include <cstring>

#pragma GCC diagnostic ignored "-Wpsabi"

namespace {

// First guess of 1/sqrt(x) from the bits of x: within 3.5 % over all normal doubles.
constexpr uint64_t kInverseRootMagic = 0x5FE6EB50C7B537A9ull;

// y := x^(-3/2). Three Newton steps take the guess of 1/sqrt(x) to a relative error below 4e-11;
// its cube is then corrected once against the residual 1 - y^2 x^3, which leaves only rounding.
template <class T, class U>
inline __attribute__((always_inline)) void inverseCube(const T& x, T& y) {
    U bits;
    std::memcpy(&bits, &x, sizeof bits);
    bits = kInverseRootMagic - (bits >> 1);
    T r;
    std::memcpy(&r, &bits, sizeof r);
    const T half = 0.5 * x;
    r = r * (1.5 - half * (r * r));
    r = r * (1.5 - half * (r * r));
    r = r * (1.5 - half * (r * r));
    const T cube = (r * r) * r;
    const T u = cube * x;
    const T residual = 1.0 - (u * u) * x;
    y = cube + cube * (0.5 * residual);
}

template <class V>
inline __attribute__((always_inline)) void loadLanes(V& v, const double* from) {
    std::memcpy(&v, from, sizeof v);
}

template <class V>
inline __attribute__((always_inline)) void storeLanes(double* to, const V& v) {
    std::memcpy(to, &v, sizeof v);
}

// The pulls that one target gathers in the eight lanes of a row, as vectors of W lanes.
template <class V, size_t W>
struct LaneSums {
    V x[kPairBlock / W], y[kPairBlock / W], z[kPairBlock / W];
};

// Sum of the eight lanes in one fixed order.
inline double laneSum(const double* v) {
    return ((v[0] + v[4]) + (v[2] + v[6])) + ((v[1] + v[5]) + (v[3] + v[7]));
}

// One tile: the sources lie in the lanes, the eight targets are taken one at a time. A target's
// pulls stay in its own lanes over the whole row; the sources gather the opposite pulls lane by
// lane, target after target. The eight lanes are worked in groups of the vector width W, which
// changes no lane's order of operations. A masked tile (on the diagonal, past the last object, or
// a careful sum) leaves out the pairs that are not pairs and lets two objects at one position add
// nothing and report it; elsewhere they give NaN, which makes the caller sum again carefully.
template <class V, class M, class U, size_t W, bool Masked>
inline __attribute__((always_inline)) void pairTile(const PairInputs& in, const PairOutput& out,
                                                    size_t iBase, size_t targets, size_t kBase,
                                                    bool diagonal, LaneSums<V, W>* sums, M& hit) {
    for (size_t g = 0; g < kPairBlock / W; ++g) {
        const size_t k0 = kBase + g * W;
        V kx, ky, kz, kgm, ax, ay, az, lane;
        loadLanes(kx, in.px + k0);
        loadLanes(ky, in.py + k0);
        loadLanes(kz, in.pz + k0);
        loadLanes(kgm, in.gm + k0);
        loadLanes(ax, out.x + k0);
        loadLanes(ay, out.y + k0);
        loadLanes(az, out.z + k0);
        for (size_t l = 0; l < W; ++l) lane[l] = static_cast<double>(g * W + l);
        M inRange{};
        if (Masked) inRange = (lane + static_cast<double>(kBase)) < static_cast<double>(in.count);
        for (size_t a = 0; a < targets; ++a) {
            const size_t i = iBase + a;
            const double xi = in.px[i], yi = in.py[i], zi = in.pz[i], gmi = in.gm[i];
            const V dx = kx - xi;
            const V dy = ky - yi;
            const V dz = kz - zi;
            const V d2 = dz * dz + dy * dy + dx * dx;
            V inv3;
            inverseCube<V, U>(d2, inv3);
            if (Masked) {
                M pair = inRange;
                if (diagonal) pair &= lane > static_cast<double>(a);
                const M same = (d2 == 0.0) & pair;
                hit |= same;
                const V zero{};
                inv3 = (pair & ~same) ? inv3 : zero;
            }
            const V pullOnTarget = kgm * inv3;
            const V pullOnSource = gmi * inv3;
            sums[a].x[g] = sums[a].x[g] + pullOnTarget * dx;
            sums[a].y[g] = sums[a].y[g] + pullOnTarget * dy;
            sums[a].z[g] = sums[a].z[g] + pullOnTarget * dz;
            ax = ax - pullOnSource * dx;
            ay = ay - pullOnSource * dy;
            az = az - pullOnSource * dz;
        }
        storeLanes(out.x + k0, ax);
        storeLanes(out.y + k0, ay);
        storeLanes(out.z + k0, az);
    }
}

// Rows [rowBegin, rowEnd): every tile of a row in column order, then the targets' lane sums.
template <class V, class M, class U, size_t W>
inline __attribute__((always_inline)) bool pairRows(const PairInputs& in, size_t rowBegin,
                                                    size_t rowEnd, const PairOutput& out,
                                                    const std::atomic<uint64_t>* watch,
                                                    uint64_t generation, uint64_t abandonBits,
                                                    bool careful, bool* coincidence) {
    constexpr size_t B = kPairBlock;
    const size_t count = in.count;
    const size_t blocks = (count + B - 1) / B;
    for (size_t i = rowBegin * B; i < blocks * B; ++i) out.x[i] = out.y[i] = out.z[i] = 0.0;
    M hit{};
    for (size_t row = rowBegin; row < rowEnd; ++row) {
        if (watch) {
            const uint64_t state = watch->load(std::memory_order_acquire);
            if ((state >> 8) != generation || (state & abandonBits) != 0) return false;
        }
        const size_t iBase = row * B;
        const size_t targets = std::min(B, count - iBase);
        LaneSums<V, W> sums[B];
        for (size_t a = 0; a < B; ++a)
            for (size_t g = 0; g < B / W; ++g) sums[a].x[g] = sums[a].y[g] = sums[a].z[g] = V{};
        for (size_t col = row; col < blocks; ++col) {
            if (in.lightBlocks && in.lightBlocks[row] && in.lightBlocks[col]) continue;
            const size_t kBase = col * B;
            if (careful || col == row || kBase + B > count)
                pairTile<V, M, U, W, true>(in, out, iBase, targets, kBase, col == row, sums, hit);
            else
                pairTile<V, M, U, W, false>(in, out, iBase, targets, kBase, false, sums, hit);
        }
        for (size_t a = 0; a < targets; ++a) {
            double lanes[3][B];
            std::memcpy(lanes[0], sums[a].x, sizeof lanes[0]);
            std::memcpy(lanes[1], sums[a].y, sizeof lanes[1]);
            std::memcpy(lanes[2], sums[a].z, sizeof lanes[2]);
            out.x[iBase + a] = out.x[iBase + a] + laneSum(lanes[0]);
            out.y[iBase + a] = out.y[iBase + a] + laneSum(lanes[1]);
            out.z[iBase + a] = out.z[iBase + a] + laneSum(lanes[2]);
        }
    }
    for (size_t l = 0; l < W; ++l)
        if (hit[l]) *coincidence = true;
    return true;
}

typedef double V2 __attribute__((vector_size(16)));
typedef int64_t M2 __attribute__((vector_size(16)));
typedef uint64_t U2 __attribute__((vector_size(16)));
typedef double V4 __attribute__((vector_size(32)));
typedef int64_t M4 __attribute__((vector_size(32)));
typedef uint64_t U4 __attribute__((vector_size(32)));
typedef double V8 __attribute__((vector_size(64)));
typedef int64_t M8 __attribute__((vector_size(64)));
typedef uint64_t U8 __attribute__((vector_size(64)));

bool pairRowsPortable(const PairInputs& in, size_t rowBegin, size_t rowEnd, const PairOutput& out,
                      const std::atomic<uint64_t>* watch, uint64_t generation,
                      uint64_t abandonBits, bool careful, bool* coincidence) {
    return pairRows<V2, M2, U2, 2>(in, rowBegin, rowEnd, out, watch, generation, abandonBits,
                                   careful, coincidence);
}

#if defined(__x86_64__) || defined(__i386__)
#define CELESTRIX_X86 1
__attribute__((target("avx2"))) bool pairRowsAvx2(const PairInputs& in, size_t rowBegin,
                                                  size_t rowEnd, const PairOutput& out,
                                                  const std::atomic<uint64_t>* watch,
                                                  uint64_t generation, uint64_t abandonBits,
                                                  bool careful, bool* coincidence) {
    return pairRows<V4, M4, U4, 4>(in, rowBegin, rowEnd, out, watch, generation, abandonBits,
                                   careful, coincidence);
}

__attribute__((target("avx512f"))) bool pairRowsAvx512(const PairInputs& in, size_t rowBegin,
                                                       size_t rowEnd, const PairOutput& out,
                                                       const std::atomic<uint64_t>* watch,
                                                       uint64_t generation, uint64_t abandonBits,
                                                       bool careful, bool* coincidence) {
    return pairRows<V8, M8, U8, 8>(in, rowBegin, rowEnd, out, watch, generation, abandonBits,
                                   careful, coincidence);
}
#endif

}  // namespace

double inverseCubeOfDistance(double distanceSquared) {
    double y;
    inverseCube<double, uint64_t>(distanceSquared, y);
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
    if (__builtin_cpu_supports("avx2")) return IntegratorPath::Avx2;
#endif
    return IntegratorPath::Scalar;
}

bool integratorPathSupported(IntegratorPath path) {
    switch (path) {
        case IntegratorPath::Auto:
        case IntegratorPath::Scalar: return true;
#ifdef CELESTRIX_X86
        case IntegratorPath::Avx2: return __builtin_cpu_supports("avx2");
        case IntegratorPath::Avx512: return __builtin_cpu_supports("avx512f");
#endif
        default: return false;
    }
}

PairKernel pairKernelFor(IntegratorPath path) {
    switch (path) {
#ifdef CELESTRIX_X86
        case IntegratorPath::Avx512: return pairRowsAvx512;
        case IntegratorPath::Avx2: return pairRowsAvx2;
#endif
        default: return pairRowsPortable;
    }
}
