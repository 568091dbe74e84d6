// File and state digests.
#include "state_digest.h"

#include <bit>
#include <charconv>

#include "exact_state.h"
#include "sim_state.h"
#include "text_file.h"

void ByteDigest::add(std::string_view bytes) {
    uint64_t h = hash_;
    for (unsigned char c : bytes) {
        h ^= c;
        h *= 1099511628211ull;
    }
    hash_ = h;
}

uint64_t digestBytes(std::string_view bytes) {
    ByteDigest d;
    d.add(bytes);
    return d.value();
}

bool digestFile(const std::string& path, uint64_t& digest) {
    std::string contents;
    if (!readWholeFile(path, contents)) return false;
    digest = digestBytes(contents);
    return true;
}

std::string formatDigest(uint64_t digest) {
    char text[17];
    for (int i = 15; i >= 0; --i) {
        text[i] = "0123456789abcdef"[digest & 15u];
        digest >>= 4;
    }
    return std::string(text, 16);
}

bool parseDigest(std::string_view text, uint64_t& digest) {
    if (text.size() != 16) return false;
    for (char c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), digest, 16);
    return ec == std::errc() && ptr == text.data() + text.size();
}

namespace {

// Four lanes of xor-multiply over 64-bit words, folded at the end. Words go to the lanes in turn,
// four at a time, so the lanes' multiplications overlap.
class WordDigest {
public:
    void add(uint64_t word) {
        pending_[count_ & 3u] = word;
        if ((++count_ & 3u) == 0) mix(pending_[0], pending_[1], pending_[2], pending_[3]);
    }
    void add(double v) { add(std::bit_cast<uint64_t>(v)); }
    void add(float v) { add(static_cast<uint64_t>(std::bit_cast<uint32_t>(v))); }
    void add(Vec3f v) {
        add(v.x);
        add(v.y);
        add(v.z);
    }
    void addDoubles(const double* values, size_t n) {
        size_t i = 0;
        while (i < n && (count_ & 3u) != 0) add(values[i++]);
        for (; i + 4 <= n; i += 4) {
            mix(std::bit_cast<uint64_t>(values[i]), std::bit_cast<uint64_t>(values[i + 1]),
                std::bit_cast<uint64_t>(values[i + 2]), std::bit_cast<uint64_t>(values[i + 3]));
            count_ += 4;
        }
        for (; i < n; ++i) add(values[i]);
    }
    uint64_t value() const {
        uint64_t h = count_ * 0xC2B2AE3D27D4EB4Full;
        uint64_t lanes[4] = {a_, b_, c_, d_};
        for (unsigned k = 0; k < (count_ & 3u); ++k) lanes[k] = step(lanes[k], pending_[k]);
        for (uint64_t lane : lanes) {
            h ^= lane;
            h *= 0xFF51AFD7ED558CCDull;
            h ^= h >> 33;
        }
        return h;
    }

private:
    static uint64_t step(uint64_t lane, uint64_t word) {
        lane = (lane ^ word) * 0x9E3779B97F4A7C15ull;
        return lane ^ (lane >> 29);
    }
    void mix(uint64_t w0, uint64_t w1, uint64_t w2, uint64_t w3) {
        a_ = step(a_, w0);
        b_ = step(b_, w1);
        c_ = step(c_, w2);
        d_ = step(d_, w3);
    }
    uint64_t a_ = 1, b_ = 2, c_ = 3, d_ = 4;
    uint64_t pending_[4] = {};
    uint64_t count_ = 0;
};

}  // namespace

uint64_t digestSimState(const SimState& state) {
    WordDigest d;
    const IntegratorState& integrator = state.integrator;
    d.add(integrator.origin);
    for (int j = 0; j < 6; ++j) d.addDoubles(integrator.rawComponent(j), integrator.count());
    d.add(state.missionTimeS);
    d.add(state.energyKJ);
    d.add(state.rotationRates);
    d.add(state.accumulatedAngles);
    for (const auto& row : state.orientation.m)
        for (float v : row) d.add(v);
    for (const SimObject& o : state.objects) d.add(o.spinAngleRad);
    if (!state.objects.empty()) {
        for (const float* field : objectFloatFields(state.observer())) d.add(*field);
    }
    d.add(static_cast<uint64_t>(static_cast<uint32_t>(state.surfaceProximity)));
    return d.value();
}
