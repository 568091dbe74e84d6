// Predicted path: requests, placement around the reference body, drawing.
#include "prediction_line.h"

#include <cmath>
#include <cstdio>

#include "scene_placement.h"
#include "text_font.h"

namespace {

constexpr uint32_t kShipPathArgb = 0xFF40E0FF;
constexpr uint32_t kTargetPathArgb = 0xFFFFA040;
constexpr uint32_t kClosestArgb = 0xFFFFFFFF;
constexpr uint32_t kTextArgb = 0xFF40E0FF;
constexpr float kTextTopPx = 8;
constexpr float kHorizonTextS = 4.0f;

struct Placement {
    double ox, oy, oz;  // the reference body's drawn offset from the observer, km-like units
    double e, ey;       // stretch of offsets from it (horizontal, vertical)
};

bool placement(const SimState& state, int reference, Placement& p) {
    if (reference < 0 || static_cast<size_t>(reference) + 1 >= state.objects.size()) return false;
    const SimObject& body = state.objects[static_cast<size_t>(reference)];
    const double r = body.equatorialRadiusKm;
    if (!(r > 0)) return false;
    p.e = kDistanceCompression / r;
    p.ey = p.e * (body.polarRadiusKm / r);
    const Vec3f o = state.observer().positionKm;
    p.ox = (double(body.positionKm.x) - o.x) * p.e;
    p.oy = (double(body.positionKm.y) - o.y) * p.ey;
    p.oz = (double(body.positionKm.z) - o.z) * p.e;
    return true;
}

void appendPath(std::vector<VertexPc>& out, const std::vector<PointKm>& points,
                const std::vector<PointKm>& reference, const Placement& p, uint32_t argb) {
    auto vertex = [&](size_t k) {
        const double x = p.ox + (points[k].x - reference[k].x) * p.e;
        const double y = p.oy + (points[k].y - reference[k].y) * p.ey;
        const double z = p.oz + (points[k].z - reference[k].z) * p.e;
        return VertexPc{static_cast<float>(x * kDisplayScale), static_cast<float>(y * kDisplayScale),
                        static_cast<float>(z * kDisplayScale), argb};
    };
    const size_t n = std::min(points.size(), reference.size());
    for (size_t k = 1; k < n; ++k) {
        VertexPc a = vertex(k - 1), b = vertex(k);
        if (!std::isfinite(a.x) || !std::isfinite(b.x)) break;
        out.push_back(a);
        out.push_back(b);
    }
}

std::string grouped(double value) {
    const long long v = std::llround(value);
    std::string digits = std::to_string(v < 0 ? -v : v), out = v < 0 ? "-" : "";
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

}  // namespace

std::vector<VertexPc> predictionLineVertices(const PredictedPath& path, const SimState& state) {
    std::vector<VertexPc> out;
    Placement p{};
    if (!path.valid || !placement(state, path.referenceIndex, p)) return out;
    appendPath(out, path.ship, path.reference, p, kShipPathArgb);
    // The target's own path around the body it orbits (the Moon's around Earth).
    Placement tp{};
    if (!path.target.empty() && placement(state, path.targetReferenceIndex, tp))
        appendPath(out, path.target, path.targetReference, tp, kTargetPathArgb);
    // The closest approach: a small cross on the ship's path, sized by its distance from the eye.
    if (path.closestKm >= 0 && !path.timesS.empty()) {
        size_t k = 0;
        while (k + 1 < path.timesS.size() && path.timesS[k] < path.closestTimeS) ++k;
        std::vector<VertexPc> one;
        const std::vector<PointKm> a = {path.ship[k], path.ship[k]};
        const std::vector<PointKm> r = {path.reference[k], path.reference[k]};
        appendPath(one, a, r, p, kClosestArgb);
        if (!one.empty()) {
            const VertexPc c = one[0];
            const float size = 0.02f * std::sqrt(c.x * c.x + c.y * c.y + c.z * c.z);
            const float d[3][3] = {{size, 0, 0}, {0, size, 0}, {0, 0, size}};
            for (const auto& axis : d) {
                out.push_back({c.x - axis[0], c.y - axis[1], c.z - axis[2], kClosestArgb});
                out.push_back({c.x + axis[0], c.y + axis[1], c.z + axis[2], kClosestArgb});
            }
        }
    }
    return out;
}

std::string horizonText(double s) {
    char text[32];
    if (s >= 86400)
        std::snprintf(text, sizeof text, "%g d", s / 86400);
    else if (s >= 3600)
        std::snprintf(text, sizeof text, "%g h", s / 3600);
    else
        std::snprintf(text, sizeof text, "%g min", s / 60);
    return text;
}

std::string closestApproachText(const PredictedPath& path) {
    if (!path.valid || path.closestKm < 0) return "";
    const long long t = std::llround(path.closestTimeS);
    char when[48];
    std::snprintf(when, sizeof when, "%lld h %02lld min", t / 3600, (t / 60) % 60);
    return "Closest approach " + grouped(path.closestKm) + " km in " + when;
}

void PredictionLine::update(const SimState& state, float elapsedS, int targetIndex) {
    if (horizonTextLeftS_ > 0) horizonTextLeftS_ -= elapsedS;
    const bool shorter = state.keyState.isDown(kHorizonShorterKey);
    const bool longer = state.keyState.isDown(kHorizonLongerKey);
    const int last = static_cast<int>(kPredictionHorizonsS.size()) - 1;
    if (shorter && !shorterWasDown_ && horizonLevel_ > 0) --horizonLevel_, horizonTextLeftS_ = kHorizonTextS;
    if (longer && !longerWasDown_ && horizonLevel_ < last) ++horizonLevel_, horizonTextLeftS_ = kHorizonTextS;
    shorterWasDown_ = shorter;
    longerWasDown_ = longer;
    if (trigger_.wanted(state, horizonS(), targetIndex))
        worker_.submit(predictionRequest(state, horizonS(), targetIndex));
    if (std::optional<PredictedPath> done = worker_.take()) path_ = std::move(*done);
}

void PredictionLine::finishPending() {
    worker_.waitIdle();
    if (std::optional<PredictedPath> done = worker_.take()) path_ = std::move(*done);
}

void drawPathLines(GlDevice& device, const SimState& state, const std::vector<VertexPc>& vertices) {
    if (vertices.empty()) return;
    Mat4f rotationOnly = state.camera;
    rotationOnly.m[3][0] = rotationOnly.m[3][1] = rotationOnly.m[3][2] = 0;
    const RenderState saved = device.state();
    device.setLighting(false);
    device.setTexture(nullptr);
    device.setTextureOps(TextureOp::SelectDiffuse, TextureOp::SelectDiffuse);
    device.setBlend(false);
    device.setDepthTest(false);
    device.setDepthWrite(false);
    device.setCull(CullMode::None);
    device.setWorld(Mat4f::identity());
    device.setView(rotationOnly);
    device.drawUp(PrimitiveType::LineList, VertexFormat::PositionColor, vertices.data(),
                  static_cast<int>(vertices.size()));
    device.setState(saved);
}

void PredictionLine::draw(GlDevice& device, TextFont& font, const SimState& state, int w) {
    drawPathLines(device, state, predictionLineVertices(path_, state));
    // Text below the warp line and its drop message (two rows).
    std::string text = closestApproachText(path_);
    if (horizonTextLeftS_ > 0) text = "Prediction " + horizonText(horizonS());
    if (text.empty()) return;
    int cx = 0, cy = 0;
    font.measureText(text.c_str(), &cx, &cy);
    font.drawText(static_cast<float>(w / 2 - cx / 2), kTextTopPx + 2.0f * static_cast<float>(cy + 4), kTextArgb,
                  text.c_str());
}
