// Draws the destination marker: a lit, half-transparent textured square standing on its corner,
// placed along the direction of motion in the camera's own frame.
#include "destination_marker.h"

#include "image_load.h"

namespace {

constexpr float kHalfSize = kDestinationMarkerSize * 0.5f;  // 0.0275

}  // namespace

std::array<VertexPnt, 4> destinationMarkerVertices(const Mat4f& view) {
    const Vec3f hr = Vec3f{view.m[0][0], view.m[1][0], view.m[2][0]} * kHalfSize;
    const Vec3f hu = Vec3f{view.m[0][1], view.m[1][1], view.m[2][1]} * kHalfSize;
    auto vertex = [](Vec3f p, float u, float v) { return VertexPnt{p.x, p.y, p.z, 1, 0, 0, u, v}; };
    return {vertex(hr * -1.0f, 0, 0), vertex(hu, 0, 1), vertex(hu * -1.0f, 1, 0), vertex(hr, 1, 1)};
}

std::optional<Mat4f> destinationMarkerWorld(Vec3f observerVelocityKmPerS) {
    const Vec3f direction = normalize(observerVelocityKmPerS);
    if (direction.x == 0 && direction.y == 0 && direction.z == 0) return std::nullopt;
    return translation(direction.x, direction.y, direction.z);
}

std::optional<std::string> DestinationMarker::draw(GlDevice& device, const SimState& state) {
    if (destinationHidden(state.latches, state.flags) || state.objects.empty()) return std::nullopt;
    if (!texture_.valid()) {
        const std::string path = state.dataDirectory + kDestinationIconFile;
        std::optional<Image> image = loadImageFile(path);
        if (!image || !texture_.create(*image, true)) return path;
    }
    const std::optional<Mat4f> world = destinationMarkerWorld(state.observer().velocityKmPerS);
    if (!world) return std::nullopt;

    const std::array<VertexPnt, 4> vertices = destinationMarkerVertices(state.camera);
    Mat4f rotationOnly = state.camera;
    rotationOnly.m[3][0] = rotationOnly.m[3][1] = rotationOnly.m[3][2] = 0;

    const RenderState saved = device.state();
    Material material;
    material.diffuse = {1, 1, 1, 0.5f};
    material.ambient = {1, 1, 1, 0.5f};
    device.setMaterial(material);
    device.setLighting(true);
    device.setLight(0, ColorF{1, 1, 1, 0}, Vec3f{-1, 0, 0});
    device.enableLight(0, true);
    device.setWorld(*world);
    device.setView(rotationOnly);
    device.setTexture(&texture_);
    device.setTextureOps(TextureOp::Modulate, TextureOp::Modulate);
    device.setFilters(TextureFilter::Linear, TextureFilter::Linear, TextureFilter::Linear);
    device.setBlend(true, BlendFactor::SrcAlpha, BlendFactor::InvSrcAlpha);
    device.setDepthTest(false);
    device.setDepthWrite(false);
    device.setCull(CullMode::None);
    device.drawUp(PrimitiveType::TriangleStrip, VertexFormat::PositionNormalUv, vertices.data(),
                  static_cast<int>(vertices.size()));
    device.setState(saved);
    return std::nullopt;
}

void DestinationMarker::release() {
    texture_.release();
}
