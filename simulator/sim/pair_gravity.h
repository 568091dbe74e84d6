// The gravity sum that visits every pair of objects once. Objects are grouped in blocks of eight;
// the pairs form a triangle of 8 x 8 tiles, walked row by row (one row: a block of targets with
// itself and every later block). A row adds G m_k / r^3 * d to its targets and the opposite pull
// G m_i / r^3 * d to the other block of each tile. The rows are cut into segments of about equal
// work that depend on the object count alone; each segment sums into a buffer of its own, and the
// buffers are added in segment order. Which thread computes a segment, and which vector width,
// therefore never changes a result bit.
//
// 1/r^3 comes from the bits of r^2 (an integer subtraction gives a first guess of 1/r), three
// Newton steps and one correction of the cube, in multiplies and adds only: no divide or square
// root unit, and the same rounding on every processor.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

enum class IntegratorPath { Auto, Scalar, Avx2, Avx512 };

constexpr size_t kPairBlock = 8;        // objects per block; arrays are padded to multiples of it
constexpr size_t kMostPairSegments = 16;

// (r^2)^(-3/2) as every kernel path computes it, within 2 units in the last place for the r^2 of
// distances from 1 m to 100 AU (and far beyond).
double inverseCubeOfDistance(double distanceSquared);

struct PairInputs {
    const double* px;
    const double* py;
    const double* pz;
    const double* gm;  // G m of every object, 0 for the observer and the padding
    size_t count;      // objects (the arrays hold the padded count)
    // Per block, nonzero when it holds light objects only: the pairs between two such blocks are
    // left out. Null: every pair counts.
    const uint8_t* lightBlocks = nullptr;
};

struct PairOutput {
    double* x;
    double* y;
    double* z;
};

// The first row of every segment and, last, the row count: the work split for count objects.
std::vector<size_t> pairSegmentRows(size_t count);

// Sums the tiles of rows [rowBegin, rowEnd) into out, which it zeroes first from block rowBegin
// on. Between rows it looks at *watch (when given) and gives up, returning false, once the
// generation in its upper bits differs from generation or any bit of abandonBits is set. Two
// objects at the same position give NaN to both; when careful, they add nothing to each other
// instead and set *coincidence (slower, for the rare sum that met a NaN).
using PairKernel = bool (*)(const PairInputs& in, size_t rowBegin, size_t rowEnd,
                            const PairOutput& out, const std::atomic<uint64_t>* watch,
                            uint64_t generation, uint64_t abandonBits, bool careful,
                            bool* coincidence);

PairKernel pairKernelFor(IntegratorPath path);
IntegratorPath bestIntegratorPath();
bool integratorPathSupported(IntegratorPath path);
