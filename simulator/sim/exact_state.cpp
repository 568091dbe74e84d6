// Capturing, applying, checking and writing the exact state. Floats are written as the eight hex
// digits of their bit pattern and doubles as sixteen, so nothing is rounded and no locale applies.
//
// Lines, in this order (N objects, words separated by one blank):
//   state N
//   o <52 floats>                      N lines, configuration order
//   integrator N <origin: 3 floats>
//   y <6 doubles>                      N lines
//   attitude <rates 3> <accumulated angles 3> <wrapped angles 3>
//   view <16 floats>   camera <16 floats>   cameracopy <16 floats>   (three lines)
//   misc <energy> <mission time> <align request, decimal> <surface proximity, decimal>
#include "exact_state.h"
#include "hex_field.h"

#include <bit>
#include <charconv>
#include <cmath>

#include "float_format.h"

namespace {

template <class Object, class Ptr>
std::array<Ptr, kObjectFloatFieldCount> floatFieldsOf(Object& o) {
    return {&o.massKg,
            &o.positionKm.x, &o.positionKm.y, &o.positionKm.z,
            &o.velocityKmPerS.x, &o.velocityKmPerS.y, &o.velocityKmPerS.z,
            &o.orbitalPosition1Km.x, &o.orbitalPosition1Km.y, &o.orbitalPosition1Km.z,
            &o.orbitalPosition2Km.x, &o.orbitalPosition2Km.y, &o.orbitalPosition2Km.z,
            &o.tiltRad, &o.spinRate, &o.spinAngleRad, &o.equatorialRadiusKm, &o.polarRadiusKm,
            &o.innerRingRadiusKm, &o.outerRingRadiusKm,
            &o.lightRed, &o.lightGreen, &o.lightBlue, &o.lightIntensity,
            &o.ratesRadPerFrame.x, &o.ratesRadPerFrame.y, &o.ratesRadPerFrame.z,
            &o.anglesRad.x, &o.anglesRad.y, &o.anglesRad.z,
            &o.forwardDirection.x, &o.forwardDirection.y, &o.forwardDirection.z,
            &o.upDirection.x, &o.upDirection.y, &o.upDirection.z,
            &o.rightDirection.x, &o.rightDirection.y, &o.rightDirection.z,
            &o.angularAccelFactor, &o.torqueLevel, &o.forceFactorKNPerS,
            &o.nominalForceKN.x, &o.nominalForceKN.y, &o.nominalForceKN.z,
            &o.actingForceKN.x, &o.actingForceKN.y, &o.actingForceKN.z,
            &o.energyKJ, &o.smallJumpFactorKmPerS, &o.bigJumpFactorKmPerS, &o.jumpDistanceKm};
}

uint32_t bits(float v) { return std::bit_cast<uint32_t>(v); }

// The value a float takes when written with six digits and read back.
float roundTripped(float v) { return parseFloatItem(formatFloat(v)); }
bool sameBits(float a, float b) { return bits(a) == bits(b); }

void appendHex(std::string& out, uint64_t value, int digits) {
    char text[16];
    for (int i = digits - 1; i >= 0; --i) {
        text[i] = "0123456789abcdef"[value & 15u];
        value >>= 4;
    }
    out.push_back(' ');
    out.append(text, static_cast<size_t>(digits));
}
void appendFloat(std::string& out, float v) { appendHex(out, bits(v), 8); }
void appendVec(std::string& out, Vec3f v) {
    appendFloat(out, v.x);
    appendFloat(out, v.y);
    appendFloat(out, v.z);
}
void appendMatrix(std::string& out, const char* keyword, const Mat4f& m) {
    out += keyword;
    for (const auto& row : m.m)
        for (float v : row) appendFloat(out, v);
    out += '\n';
}

// The words of a line that starts with keyword and has exactly count more words.
bool wordsOf(std::string_view line, std::string_view keyword, size_t count,
             std::vector<std::string_view>& words) {
    words.clear();
    size_t start = 0;
    while (start <= line.size()) {
        size_t end = line.find(' ', start);
        if (end == std::string_view::npos) end = line.size();
        words.push_back(line.substr(start, end - start));
        start = end + 1;
    }
    return words.size() == count + 1 && words[0] == keyword;
}

bool parseFloatBits(std::string_view text, float& v) {
    uint32_t b = 0;
    if (!parseHexField(text, 8, b)) return false;
    v = std::bit_cast<float>(b);
    return true;
}
bool parseDoubleBits(std::string_view text, double& v) {
    uint64_t b = 0;
    if (!parseHexField(text, 16, b)) return false;
    v = std::bit_cast<double>(b);
    return true;
}
bool parseCount(std::string_view text, size_t& n) {
    if (text.empty() || text.size() > 9) return false;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    return ec == std::errc() && ptr == text.data() + text.size();
}
bool parseFlag(std::string_view text, int32_t& v) {
    if (text != "0" && text != "1") return false;
    v = text == "1" ? 1 : 0;
    return true;
}
bool parseFloats(const std::vector<std::string_view>& words, size_t first, float* out, size_t n) {
    for (size_t i = 0; i < n; ++i)
        if (!parseFloatBits(words[first + i], out[i])) return false;
    return true;
}
bool parseVec(const std::vector<std::string_view>& words, size_t first, Vec3f& v) {
    float f[3];
    if (!parseFloats(words, first, f, 3)) return false;
    v = {f[0], f[1], f[2]};
    return true;
}
bool parseMatrix(std::string_view line, const char* keyword, Mat4f& m,
                 std::vector<std::string_view>& words) {
    return wordsOf(line, keyword, 16, words) && parseFloats(words, 1, &m.m[0][0], 16);
}

}  // namespace

std::array<float*, kObjectFloatFieldCount> objectFloatFields(SimObject& o) {
    return floatFieldsOf<SimObject, float*>(o);
}
std::array<const float*, kObjectFloatFieldCount> objectFloatFields(const SimObject& o) {
    return floatFieldsOf<const SimObject, const float*>(o);
}

ExactState captureExactState(const SimState& state) {
    ExactState e;
    e.objects.reserve(state.objects.size());
    for (const SimObject& o : state.objects) {
        std::array<float, kObjectFloatFieldCount> values{};
        auto fields = objectFloatFields(o);
        for (size_t k = 0; k < fields.size(); ++k) values[k] = *fields[k];
        e.objects.push_back(values);
    }
    const IntegratorState& integrator = state.integrator;
    e.integratorOrigin = integrator.origin;
    e.integrator.resize(integrator.count());
    for (int j = 0; j < 6; ++j) {
        const double* values = integrator.rawComponent(j);
        for (size_t i = 0; i < integrator.count(); ++i) e.integrator[i][static_cast<size_t>(j)] = values[i];
    }
    e.rotationRates = state.rotationRates;
    e.accumulatedAngles = state.accumulatedAngles;
    e.wrappedAngles = state.wrappedAngles;
    e.orientation = state.orientation;
    e.camera = state.camera;
    e.cameraCopy = state.cameraCopy;
    e.energyKJ = state.energyKJ;
    e.missionTimeS = state.missionTimeS;
    e.alignRequest = state.alignRequest;
    e.surfaceProximity = state.surfaceProximity;
    return e;
}

bool applyExactState(SimState& state, const ExactState& exact) {
    if (exact.objects.size() != state.objects.size() || exact.integrator.size() != state.objects.size())
        return false;
    for (size_t i = 0; i < state.objects.size(); ++i) {
        auto fields = objectFloatFields(state.objects[i]);
        for (size_t k = 0; k < fields.size(); ++k) *fields[k] = exact.objects[i][k];
    }
    std::vector<double> raw(exact.integrator.size() * 6);
    for (size_t i = 0; i < exact.integrator.size(); ++i)
        for (size_t j = 0; j < 6; ++j) raw[j * exact.integrator.size() + i] = exact.integrator[i][j];
    state.integrator.restoreRaw(state.objects, exact.integratorOrigin, raw);
    state.rotationRates = exact.rotationRates;
    state.accumulatedAngles = exact.accumulatedAngles;
    state.wrappedAngles = exact.wrappedAngles;
    state.orientation = exact.orientation;
    state.camera = exact.camera;
    state.cameraCopy = exact.cameraCopy;
    state.energyKJ = exact.energyKJ;
    state.missionTimeS = exact.missionTimeS;
    state.alignRequest = exact.alignRequest;
    state.surfaceProximity = exact.surfaceProximity;
    return true;
}

bool exactStateIsFinite(const ExactState& e) {
    auto finite = [](auto v) { return std::isfinite(v); };
    auto finiteVec = [&](Vec3f v) { return finite(v.x) && finite(v.y) && finite(v.z); };
    auto finiteMatrix = [&](const Mat4f& m) {
        for (const auto& row : m.m)
            for (float v : row)
                if (!finite(v)) return false;
        return true;
    };
    for (const auto& values : e.objects)
        for (float v : values)
            if (!finite(v)) return false;
    for (const auto& values : e.integrator)
        for (double v : values)
            if (!finite(v)) return false;
    return finiteVec(e.integratorOrigin) && finiteVec(e.rotationRates) &&
           finiteVec(e.accumulatedAngles) && finiteVec(e.wrappedAngles) &&
           finiteMatrix(e.orientation) && finiteMatrix(e.camera) && finiteMatrix(e.cameraCopy) &&
           finite(e.energyKJ) && finite(e.missionTimeS);
}

bool exactStateRoundsTo(const ExactState& exact, const SimState& state) {
    if (exact.objects.size() != state.objects.size()) return false;
    for (size_t i = 0; i < state.objects.size(); ++i) {
        auto fields = objectFloatFields(state.objects[i]);
        for (size_t k = 0; k < fields.size(); ++k)
            if (!sameBits(roundTripped(exact.objects[i][k]), *fields[k])) return false;
    }
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            if (!sameBits(roundTripped(exact.orientation.m[r][c]), state.orientation.m[r][c]))
                return false;
    return sameBits(roundTripped(exact.missionTimeS), state.missionTimeS);
}

void formatExactState(const ExactState& e, std::string& out) {
    out += "state " + std::to_string(e.objects.size()) + "\n";
    for (const auto& values : e.objects) {
        out += 'o';
        for (float v : values) appendFloat(out, v);
        out += '\n';
    }
    out += "integrator " + std::to_string(e.integrator.size());
    appendVec(out, e.integratorOrigin);
    out += '\n';
    for (const auto& values : e.integrator) {
        out += 'y';
        for (double v : values) appendHex(out, std::bit_cast<uint64_t>(v), 16);
        out += '\n';
    }
    out += "attitude";
    appendVec(out, e.rotationRates);
    appendVec(out, e.accumulatedAngles);
    appendVec(out, e.wrappedAngles);
    out += '\n';
    appendMatrix(out, "view", e.orientation);
    appendMatrix(out, "camera", e.camera);
    appendMatrix(out, "cameracopy", e.cameraCopy);
    out += "misc";
    appendFloat(out, e.energyKJ);
    appendFloat(out, e.missionTimeS);
    out += ' ' + std::to_string(e.alignRequest ? 1 : 0);
    out += ' ' + std::to_string(e.surfaceProximity ? 1 : 0);
    out += '\n';
}

bool parseExactState(const std::vector<std::string_view>& lines, size_t& index, ExactState& exact) {
    size_t i = index;
    auto next = [&](std::string_view& line) {
        if (i >= lines.size()) return false;
        line = lines[i++];
        return true;
    };
    std::vector<std::string_view> words;
    std::string_view line;
    ExactState e;

    size_t count = 0;
    if (!next(line) || !wordsOf(line, "state", 1, words) || !parseCount(words[1], count)) return false;
    if (count == 0 || count > 1000 || lines.size() - i < 2 * count + 6) return false;
    e.objects.resize(count);
    for (size_t n = 0; n < count; ++n) {
        if (!next(line) || !wordsOf(line, "o", kObjectFloatFieldCount, words) ||
            !parseFloats(words, 1, e.objects[n].data(), kObjectFloatFieldCount))
            return false;
    }
    size_t integratorCount = 0;
    if (!next(line) || !wordsOf(line, "integrator", 4, words) ||
        !parseCount(words[1], integratorCount) || integratorCount != count ||
        !parseVec(words, 2, e.integratorOrigin))
        return false;
    e.integrator.resize(count);
    for (size_t n = 0; n < count; ++n) {
        if (!next(line) || !wordsOf(line, "y", 6, words)) return false;
        for (size_t j = 0; j < 6; ++j)
            if (!parseDoubleBits(words[1 + j], e.integrator[n][j])) return false;
    }
    if (!next(line) || !wordsOf(line, "attitude", 9, words) || !parseVec(words, 1, e.rotationRates) ||
        !parseVec(words, 4, e.accumulatedAngles) || !parseVec(words, 7, e.wrappedAngles))
        return false;
    if (!next(line) || !parseMatrix(line, "view", e.orientation, words)) return false;
    if (!next(line) || !parseMatrix(line, "camera", e.camera, words)) return false;
    if (!next(line) || !parseMatrix(line, "cameracopy", e.cameraCopy, words)) return false;
    if (!next(line) || !wordsOf(line, "misc", 4, words) || !parseFloatBits(words[1], e.energyKJ) ||
        !parseFloatBits(words[2], e.missionTimeS) || !parseFlag(words[3], e.alignRequest) ||
        !parseFlag(words[4], e.surfaceProximity))
        return false;
    exact = std::move(e);
    index = i;
    return true;
}

std::vector<std::string_view> splitTextLines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}
