// Ring geometry, shadow quads and drawing.
#include "ring_model.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "image_load.h"

RingRadii ringRadiiInMeshUnits(float innerRingRadiusKm, float outerRingRadiusKm, float equatorialRadiusKm,
                               float meshRadius) {
    if (!(equatorialRadiusKm > 0)) return {};
    return {innerRingRadiusKm * meshRadius / equatorialRadiusKm, outerRingRadiusKm * meshRadius / equatorialRadiusKm};
}

namespace {

// Solves the n x n system a x = b (row-major a) by elimination with partial pivoting; false when
// it is singular.
template <size_t n>
bool solveLinear(std::array<double, n * n> a, std::array<double, n> b, std::array<double, n>& x) {
    for (size_t c = 0; c < n; ++c) {
        size_t pivot = c;
        for (size_t r = c + 1; r < n; ++r)
            if (std::fabs(a[r * n + c]) > std::fabs(a[pivot * n + c])) pivot = r;
        if (!(std::fabs(a[pivot * n + c]) > 1e-12)) return false;
        for (size_t k = 0; k < n; ++k) std::swap(a[c * n + k], a[pivot * n + k]);
        std::swap(b[c], b[pivot]);
        for (size_t r = c + 1; r < n; ++r) {
            const double m = a[r * n + c] / a[c * n + c];
            for (size_t k = c; k < n; ++k) a[r * n + k] -= m * a[c * n + k];
            b[r] -= m * b[c];
        }
    }
    for (size_t c = n; c-- > 0;) {
        double sum = b[c];
        for (size_t k = c + 1; k < n; ++k) sum -= a[c * n + k] * x[k];
        x[c] = sum / a[c * n + c];
    }
    return true;
}

}  // namespace

std::array<float, 6> shadowTextureU(const std::array<RingPoint, 6>& corners, float rIn, float rOut) {
    // The ring texture runs from the inner (u = 0) to the outer edge (u = 1), but a quad can only
    // interpolate u linearly, so no choice of corner values follows the radius exactly. The outer
    // corners (even indices, on or beyond the outer edge) take their own radial coordinate, so that
    // everything beyond the ring reads the texture's transparent outer margin (the ring is drawn
    // with clamped addressing). The inner corners lie within the ring's inner edge (for Saturn
    // inside the planet); their values are the least-squares fit of the radial coordinate over the
    // part of the strip's four triangles that lies on the ring, so that the shadow keeps the ring's
    // gaps to a few per cent of the ring's width. A slight pull toward each corner's own radius
    // keeps the fit defined when a corner touches no part of the ring.
    std::array<float, 6> u{};
    const float width = rOut - rIn;
    if (!(width > 0)) return u;
    auto radial = [&](RingPoint p) { return (std::hypot(p.x, p.z) - rIn) / width; };
    std::array<double, 9> normal{};
    std::array<double, 3> rhs{};
    constexpr int kSteps = 24;
    for (size_t t = 0; t + 2 < corners.size(); ++t) {
        for (int i = 0; i <= kSteps; ++i)
            for (int j = 0; i + j <= kSteps; ++j) {
                const double w[3] = {double(i) / kSteps, double(j) / kSteps, 1 - double(i + j) / kSteps};
                RingPoint p{0, 0};
                for (size_t k = 0; k < 3; ++k) {
                    p.x += static_cast<float>(w[k]) * corners[t + k].x;
                    p.z += static_cast<float>(w[k]) * corners[t + k].z;
                }
                const float r = std::hypot(p.x, p.z);
                if (r < rIn || r > rOut) continue;
                // Known part from the outer corners, unknown weights on the inner ones.
                double target = radial(p);
                for (size_t k = 0; k < 3; ++k)
                    if ((t + k) % 2 == 0) target -= w[k] * radial(corners[t + k]);
                for (size_t a = 0; a < 3; ++a) {
                    if ((t + a) % 2 == 0) continue;
                    const size_t ia = (t + a) / 2;
                    rhs[ia] += w[a] * target;
                    for (size_t b = 0; b < 3; ++b)
                        if ((t + b) % 2 == 1) normal[ia * 3 + (t + b) / 2] += w[a] * w[b];
                }
            }
    }
    constexpr double kPull = 1e-3;
    for (size_t k = 0; k < 3; ++k) {
        normal[k * 3 + k] += kPull;
        rhs[k] += kPull * radial(corners[2 * k + 1]);
    }
    std::array<double, 3> fit{};
    const bool solved = solveLinear<3>(normal, rhs, fit);
    for (size_t k = 0; k < 6; ++k) {
        const double value = k % 2 == 0 || !solved ? radial(corners[k]) : fit[k / 2];
        u[k] = std::isfinite(value) ? static_cast<float>(value) : 0.0f;
    }
    return u;
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
    const std::array<float, 3> xs{-l, 0.0f, l};
    std::array<RingPoint, 6> corners;
    for (size_t i = 0; i < 3; ++i) {
        corners[2 * i] = {xs[i], rOut};
        corners[2 * i + 1] = {xs[i], rOut - f};
    }
    const std::array<float, 6> u = shadowTextureU(corners, rIn, rOut);
    std::vector<VertexPnt> v;
    for (float y : {-0.005f, 0.005f})
        for (size_t i = 0; i < corners.size(); ++i)
            v.push_back({corners[i].x, y, corners[i].z, 0, 0, 0, u[i], 0.5f});
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
    // Clamped, so that the shadow's texture coordinates beyond the ring's edges read the
    // texture's transparent edge columns instead of wrapping round to the other edge.
    device.setTextureAddress(TextureAddress::Clamp);
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
    device.setTextureAddress(TextureAddress::Wrap);
}
