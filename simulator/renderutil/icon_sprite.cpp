// Loads icon bitmaps with a colour key and draws them as screen-space quads through the device,
// the way a sprite of the classic pipeline does.
#include "icon_sprite.h"

#include <cmath>
#include <utility>

#include "image_load.h"

std::array<VertexScreen, 4> spriteQuad(const SpritePlacement& placement, int textureWidth,
                                       int textureHeight) {
    const IconRect& src = placement.sourceRect;
    float u0 = 0, v0 = 0, u1 = 1, v1 = 1;
    float widthPx = static_cast<float>(textureWidth);
    float heightPx = static_cast<float>(textureHeight);
    if (!src.isZero() && textureWidth > 0 && textureHeight > 0) {
        u0 = static_cast<float>(src.left) / widthPx;
        v0 = static_cast<float>(src.top) / heightPx;
        u1 = static_cast<float>(src.right) / widthPx;
        v1 = static_cast<float>(src.bottom) / heightPx;
        widthPx = static_cast<float>(src.right - src.left);
        heightPx = static_cast<float>(src.bottom - src.top);
    }
    const float cosA = std::cos(placement.rotationRad);
    const float sinA = std::sin(placement.rotationRad);
    const Point2f c = placement.rotationCentre;
    auto corner = [&](float lx, float ly, float u, float v) {
        // Scale, rotate about the centre (row vector times the z rotation), translate.
        float sx = lx * placement.scaling.x - c.x;
        float sy = ly * placement.scaling.y - c.y;
        float rx = sx * cosA - sy * sinA + c.x;
        float ry = sx * sinA + sy * cosA + c.y;
        return VertexScreen{rx + placement.translation.x - 0.5f,
                            ry + placement.translation.y - 0.5f,
                            0.0f,
                            1.0f,
                            placement.modulateArgb,
                            u,
                            v};
    };
    return {corner(0, 0, u0, v0), corner(widthPx, 0, u1, v0), corner(0, heightPx, u0, v1),
            corner(widthPx, heightPx, u1, v1)};
}

bool magnifiedByWholeFactor(const SpritePlacement& placement, int screenScale) {
    if (screenScale <= 1 || placement.rotationRad != 0) return false;
    const float x = placement.scaling.x * static_cast<float>(screenScale);
    const float y = placement.scaling.y * static_cast<float>(screenScale);
    return x >= 2 && y >= 2 && x == std::floor(x) && y == std::floor(y);
}

std::optional<Image> loadIconImage(const std::string& path, uint32_t keyArgb, std::string* error) {
    std::optional<Image> image = loadImageFile(path, error);
    if (!image) return std::nullopt;
    applyColorKey(*image, keyArgb);
    return image;
}

bool IconSprite::loadIcon(const std::string& path, std::string* error) {
    fileName_ = path;
    std::optional<Image> image = loadIconImage(path, colourKey_, error);
    if (!image) {
        texture_.release();
        return false;
    }
    // A picture of the same size refills the existing texture, so the texture keeps its GL name
    // (re-keying reloads the same file); otherwise a new texture replaces the old one.
    if (texture_.valid() && texture_.width() == image->width &&
        texture_.height() == image->height && texture_.update(*image))
        return true;
    if (!texture_.create(*image, true)) {
        if (error) *error = "cannot create a texture for " + path;
        return false;
    }
    return true;
}

bool IconSprite::setColourKey(uint32_t argb, std::string* error) {
    colourKey_ = argb;
    if (!texture_.valid() || !reloadable_) return true;
    std::string path = fileName_;
    return loadIcon(path, error);
}

bool IconSprite::drawIcon(GlDevice& device) const {
    if (!texture_.valid()) return false;
    const RenderState saved = device.state();
    device.setLighting(false);
    device.setTexture(&texture_);
    device.setTextureOps(TextureOp::Modulate, TextureOp::Modulate);
    device.setFilters(TextureFilter::Linear, magnifiedByWholeFactor(placement_, device.screenScale())
                                                 ? TextureFilter::Point
                                                 : TextureFilter::Linear,
                      TextureFilter::None);
    device.setTextureAddress(TextureAddress::Clamp);
    device.setBlend(true, BlendFactor::SrcAlpha, BlendFactor::InvSrcAlpha);
    device.setAlphaTest(true, CompareFunc::Greater, 0);
    device.setCull(CullMode::None);
    device.setDepthTest(false);
    device.setDepthWrite(false);
    const std::array<VertexScreen, 4> quad =
        spriteQuad(placement_, texture_.width(), texture_.height());
    device.drawUp(PrimitiveType::TriangleStrip, VertexFormat::Screen, quad.data(),
                  static_cast<int>(quad.size()));
    device.setState(saved);
    return true;
}

void IconSprite::release() {
    texture_.release();
}
