// One batch of screen-space rectangles.
#include "screen_shapes.h"

void ScreenShapes::rect(float x0, float y0, float x1, float y1, uint32_t argb) {
    auto v = [&](float x, float y) { return VertexScreen{x, y, 0.0f, 1.0f, argb, 0.0f, 0.0f}; };
    vertices_.insert(vertices_.end(), {v(x0, y0), v(x1, y0), v(x0, y1), v(x1, y0), v(x1, y1), v(x0, y1)});
}

void ScreenShapes::squareOutline(float x, float y, float h, uint32_t argb) {
    rect(x - h, y - h, x + h + 1, y - h + 1, argb);
    rect(x - h, y + h, x + h + 1, y + h + 1, argb);
    rect(x - h, y - h + 1, x - h + 1, y + h, argb);
    rect(x + h, y - h + 1, x + h + 1, y + h, argb);
}

void ScreenShapes::draw(GlDevice& device) const {
    if (vertices_.empty()) return;
    const RenderState saved = device.state();
    device.setLighting(false);
    device.setTexture(nullptr);
    device.setTextureOps(TextureOp::SelectDiffuse, TextureOp::SelectDiffuse);
    device.setBlend(true, BlendFactor::SrcAlpha, BlendFactor::InvSrcAlpha);
    device.setAlphaTest(false);
    device.setCull(CullMode::None);
    device.setDepthTest(false);
    device.setDepthWrite(false);
    device.drawUp(PrimitiveType::TriangleList, VertexFormat::Screen, vertices_.data(),
                  static_cast<int>(vertices_.size()));
    device.setState(saved);
}
