// Ring geometry, shadow quads and drawing.
#include "ring_model.h"

#include <algorithm>
#include <cmath>

#include "image_load.h"

RingRadii ringRadiiInMeshUnits(float innerRingRadiusKm, float outerRingRadiusKm, float equatorialRadiusKm,
                               float meshRadius) {
    if (!(equatorialRadiusKm > 0)) return {};
    return {innerRingRadiusKm * meshRadius / equatorialRadiusKm, outerRingRadiusKm * meshRadius / equatorialRadiusKm};
}

RingModel::RingModel(RingRadii radii, std::string texturePath)
    : radii_(radii), texturePath_(std::move(texturePath)) {}

std::vector<VertexPnt> RingModel::ringVertices() const {
    std::vector<VertexPnt> v(kVertexCount);
    const float rIn = radii_.inner, rOut = radii_.outer;
    for (int k = 0; k <= kSegments; ++k) {
        const float b = static_cast<float>(k) * 6.2831855f / kSegments;
        const float s = std::sin(b), c = std::cos(b), t = static_cast<float>(k) / kSegments;
        v[2 * k] = {rIn * s, 0, rIn * c, 0, -1, 0, 0, t};
        v[2 * k + 1] = {rOut * s, 0, rOut * c, 0, -1, 0, 1, t};
        v[202 + 2 * k] = {rIn * s, 0, rIn * c, 0, 1, 0, 0, t};
        v[203 + 2 * k] = {rOut * s, 0, rOut * c, 0, 1, 0, 1, t};
    }
    return v;
}

std::vector<VertexPnt> RingModel::shadowVertices(float equatorialRadiusKm, float innerRingRadiusKm,
                                                 float outerRingRadiusKm) const {
    const float rIn = radii_.inner, rOut = radii_.outer;
    // The planet's equatorial radius in ring units.
    float l = outerRingRadiusKm != 0 ? equatorialRadiusKm * rOut / outerRingRadiusKm : 0;
    if (!std::isfinite(l)) l = 0;
    // A ring whose inner edge does not lie outside the equator (or an unset inner radius) is
    // shadowed as if its inner edge touched the planet: the ratio is capped at 1.
    float ratio = innerRingRadiusKm > 0 ? equatorialRadiusKm / innerRingRadiusKm : 1.0f;
    if (!std::isfinite(ratio) || ratio > 1.0f) ratio = 1.0f;
    if (ratio < -1.0f) ratio = -1.0f;
    float f = std::atan(std::asin(ratio) / 2) * rIn * 1.2f + (rOut - rIn);
    if (!std::isfinite(f)) f = 0;
    // Texture u follows the ring's radial coordinate, so the shadow keeps the ring's gaps.
    auto uAt = [&](float radius) {
        return rOut > rIn ? std::clamp((radius - rIn) / (rOut - rIn), 0.0f, 1.0f) : 0.0f;
    };
    std::vector<VertexPnt> v;
    for (float y : {-0.005f, 0.005f}) {
        for (float x : {-l, 0.0f, l}) {
            v.push_back({x, y, rOut, 0, 0, 0, uAt(rOut), 0.5f});
            v.push_back({x, y, rOut - f, 0, 0, 0, uAt(rOut - f), 0.5f});
        }
    }
    return v;
}

bool RingModel::buildResources(float equatorialRadiusKm, float innerRingRadiusKm, float outerRingRadiusKm) {
    releaseResources();
    std::optional<Image> picture = loadImageFile(texturePath_);
    if (!picture || !texture_.create(*picture, true)) return false;
    const std::vector<VertexPnt> ring = ringVertices();
    const std::vector<VertexPnt> shadow = shadowVertices(equatorialRadiusKm, innerRingRadiusKm, outerRingRadiusKm);
    ring_.create(ring.data(), ring.size() * sizeof(VertexPnt), VertexFormat::PositionNormalUv);
    shadow_.create(shadow.data(), shadow.size() * sizeof(VertexPnt), VertexFormat::PositionNormalUv);
    return true;
}

void RingModel::releaseResources() {
    texture_.release();
    ring_.release();
    shadow_.release();
}

void RingModel::draw(GlDevice& device) const {
    device.setWorld(world);
    device.setBlend(true, BlendFactor::SrcAlpha, BlendFactor::InvSrcAlpha);
    Material ringMaterial;
    ringMaterial.diffuse = ringMaterial.ambient = {1, 1, 1, 0.75f};
    device.setMaterial(ringMaterial);
    device.setTexture(&texture_);
    if (ring_.valid()) {
        device.setCull(CullMode::Clockwise);
        device.draw(PrimitiveType::TriangleStrip, ring_, 0, 202);
        device.setCull(CullMode::CounterClockwise);
        device.draw(PrimitiveType::TriangleStrip, ring_, 202, 202);
    }
    Material shadowMaterial;
    shadowMaterial.diffuse = shadowMaterial.ambient = {1, 1, 1, 0.95f};
    device.setMaterial(shadowMaterial);
    if (shadow_.valid()) {
        device.setCull(CullMode::None);
        device.draw(PrimitiveType::TriangleStrip, shadow_, 0, 6);
        device.draw(PrimitiveType::TriangleStrip, shadow_, 6, 6);
    }
    device.setCull(CullMode::Clockwise);
    device.setBlend(false);
}
