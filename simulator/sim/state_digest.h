// 64-bit digests: of file contents (to see whether a file is still the one that was written) and
// of the simulation state after a frame (to see whether a replayed frame ends where the recorded
// one ended). Neither is cryptographic; both change with any edit a person or a bug would make.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct SimState;

// FNV-1a over bytes; add() may be called in pieces with the same result as one call.
class ByteDigest {
public:
    void add(std::string_view bytes);
    uint64_t value() const { return hash_; }

private:
    uint64_t hash_ = 14695981039346656037ull;
};

uint64_t digestBytes(std::string_view bytes);
// The digest of a file's whole contents; false if it cannot be read.
bool digestFile(const std::string& path, uint64_t& digest);

// Sixteen lower-case hexadecimal digits, and back (exactly sixteen, nothing else).
std::string formatDigest(uint64_t digest);
bool parseDigest(std::string_view text, uint64_t& digest);

// Digest of everything a frame step changes: the integrator's double state and origin, mission
// time, attitude, running energy, every spin angle and the observer's float items. Cheap enough to
// take once per recorded frame (it mixes 64-bit words on four independent lanes).
uint64_t digestSimState(const SimState& state);
