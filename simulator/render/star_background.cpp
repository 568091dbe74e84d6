// Sky double cone: geometry, texture baking on reset and the background pass.
#include "star_background.h"

#include <cmath>

#include "sky_bake.h"

StarBackground::StarBackground(int slices) : slices_(slices > 0 ? slices : 64) {}

std::vector<VertexPt> StarBackground::coneVertices() const {
    std::vector<VertexPt> v;
    v.reserve(static_cast<size_t>(vertexCount()));
    const float step = 6.2831855f / static_cast<float>(slices_);
    const float halfPi = 1.5707964f;
    for (float apexY : {kSkyConeRadius, -kSkyConeRadius}) {
        v.push_back({0, apexY, 0, 0.5f, 0.5f});
        for (int j = 0; j <= slices_; ++j) {
            const float a = static_cast<float>(j) * step;
            // The rim point of angle a shows right ascension a - pi/2.
            v.push_back({kSkyConeRadius * std::cos(a), 0, kSkyConeRadius * std::sin(a),
                         (std::cos(a - halfPi) + 1) / 2, (std::sin(a - halfPi) + 1) / 2});
        }
    }
    return v;
}

std::optional<std::string> StarBackground::create(const std::string& dataDirectory) {
    release();
    const std::string path = dataDirectory + "stars.txt";
    std::optional<std::vector<CatalogueStar>> stars = readStarCatalogue(path);
    if (!stars) return path;
    const SkyPictures pictures = bakeSkyPictures(*stars);
    north_.create(pictures.north, false);
    south_.create(pictures.south, false);
    const std::vector<VertexPt> v = coneVertices();
    vertices_.create(v.data(), v.size() * sizeof(VertexPt), VertexFormat::PositionUv);
    return std::nullopt;
}

bool StarBackground::draw(GlDevice& device, const Mat4f& backgroundWorld, const Mat4f& view) const {
    device.setTextureOps(TextureOp::SelectTexture, device.state().alphaOp);
    device.setWorld(backgroundWorld);
    Mat4f rotationOnly = view;
    rotationOnly.m[3][0] = rotationOnly.m[3][1] = rotationOnly.m[3][2] = 0;
    device.setView(rotationOnly);
    device.setDepthTest(false);
    device.setDepthWrite(false);
    device.setCull(CullMode::None);
    bool ok = vertices_.valid() && north_.valid() && south_.valid();
    if (ok) {
        const int fanVertices = slices_ + 2;
        device.setTexture(&north_);
        device.draw(PrimitiveType::TriangleFan, vertices_, 0, fanVertices);
        device.setTexture(&south_);
        device.draw(PrimitiveType::TriangleFan, vertices_, fanVertices, fanVertices);
    }
    device.setTexture(nullptr);
    device.setView(view);
    device.setCull(CullMode::CounterClockwise);
    device.setTextureOps(TextureOp::Modulate, device.state().alphaOp);
    return ok;
}

void StarBackground::release() {
    north_.release();
    south_.release();
    vertices_.release();
}
