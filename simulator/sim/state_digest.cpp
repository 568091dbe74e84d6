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

// Four lanes of xor-multiply over 64-bit words, folded at the end.
class WordDigest {
public:
    void add(uint64_t word) {
        uint64_t& lane = lanes_[next_];
        lane = (lane ^ word) * 0x9E3779B97F4A7C15ull;
        lane ^= lane >> 29;
        next_ = (next_ + 1) & 3u;
        ++count_;
    }
    void add(double v) { add(std::bit_cast<uint64_t>(v)); }
    void add(float v) { add(static_cast<uint64_t>(std::bit_cast<uint32_t>(v))); }
    void add(Vec3f v) {
        add(v.x);
        add(v.y);
        add(v.z);
    }
    uint64_t value() const {
        uint64_t h = count_ * 0xC2B2AE3D27D4EB4Full;
        for (uint64_t lane : lanes_) {
            h ^= lane;
            h *= 0xFF51AFD7ED558CCDull;
            h ^= h >> 33;
        }
        return h;
    }

private:
    uint64_t lanes_[4] = {1, 2, 3, 4};
    unsigned next_ = 0;
    uint64_t count_ = 0;
};

}  // namespace

uint64_t digestSimState(const SimState& state) {
    WordDigest d;
    const IntegratorState& integrator = state.integrator;
    d.add(integrator.origin);
    for (int j = 0; j < 6; ++j) {
        const double* values = integrator.rawComponent(j);
        for (size_t i = 0; i < integrator.count(); ++i) d.add(values[i]);
    }
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
