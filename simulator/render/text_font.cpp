// TextFont: glyph texture creation, measuring, and drawing in batches of 50 characters.
// Drawing sets its own render state on top of the caller's and restores the caller's after.
#include "text_font.h"

#include <cstring>

namespace {
constexpr size_t kVertexBufferBytes = 9600;
constexpr int kBatchTriangleLimit = 294;  // a batch is drawn when triangles x 3 exceed this
constexpr int kMaxBatchVertices = static_cast<int>(kVertexBufferBytes / sizeof(VertexScreen));
}  // namespace

TextFont::TextFont(const char* faceName, unsigned heightPt, unsigned flags)
    : heightPt_(heightPt), flags_(flags) {
    if (faceName) std::strncpy(faceName_, faceName, sizeof faceName_ - 1);
    faceName_[sizeof faceName_ - 1] = 0;
}

TextFont::~TextFont() = default;

int TextFont::onDeviceCreated(GlDevice* device) {
    device_ = device;
    if (!device_) return kTextFontFail;
    if (!rasterizeGlyphAtlas(faceName_, heightPt_, flags_, device_->maxTextureSize(), atlas_, pixelRatio_))
        return kTextFontFail;
    if (!texture_.create(atlas_.texels, false)) return kTextFontFail;
    return 0;
}

int TextFont::setPixelRatio(int ratio) {
    ratio = ratio < 1 ? 1 : ratio;
    if (ratio == pixelRatio_) return 0;
    pixelRatio_ = ratio;
    if (!device_) return 0;
    texture_.release();
    return onDeviceCreated(device_);
}

int TextFont::onDeviceReset() {
    if (!device_) return kTextFontFail;
    batch_.assign(static_cast<size_t>(kMaxBatchVertices), VertexScreen{});
    restored_ = true;
    return 0;
}

int TextFont::onDeviceLost() {
    batch_.clear();
    batch_.shrink_to_fit();
    restored_ = false;
    return 0;
}

int TextFont::onDeviceDestroyed() {
    texture_.release();
    device_ = nullptr;
    return 0;
}

int TextFont::measureText(const char* text, int* widthPx, int* heightPx) const {
    if (!text || !widthPx || !heightPx) return kTextFontFail;
    // Texels per screen-space unit: glyphs rasterised larger are measured at the font's size.
    const float texW = static_cast<float>(atlas_.textureSize) / static_cast<float>(atlas_.pixelRatio);
    const float spacing = static_cast<float>(atlas_.spacingPx) / static_cast<float>(atlas_.pixelRatio);
    const auto& blank = atlas_.glyphs[0];
    const float rowHeight = (blank[3] - blank[1]) * texW;
    float width = 0, height = rowHeight, rowWidth = 0;
    for (const char* p = text; *p; ++p) {
        const auto ch = static_cast<unsigned char>(*p);
        if (ch == '\n') {
            rowWidth = 0;
            height += rowHeight;
        } else if (ch >= 32 && ch <= 127) {
            const auto& g = atlas_.glyphs[ch - 32u];
            rowWidth += (g[2] - g[0]) * texW - 2.0f * spacing;
            if (rowWidth > width) width = rowWidth;
        }
    }
    *widthPx = static_cast<int>(width);
    *heightPx = static_cast<int>(height);
    return 0;
}

int TextFont::drawText(float xPx, float yPx, uint32_t argb, const char* text, unsigned flags) {
    if (!device_ || !restored_ || !texture_.valid()) return kTextFontFail;
    if (!text) return kTextFontFail;

    // The drawing state block: everything else stays as the caller left it.
    const RenderState saved = device_->state();
    RenderState s = saved;
    s.texture = &texture_;
    s.depthTest = (flags_ & kFontDepthTest) != 0;
    s.blend = true;
    s.srcBlend = BlendFactor::SrcAlpha;
    s.dstBlend = BlendFactor::InvSrcAlpha;
    s.alphaTest = true;
    s.alphaRef = 8;
    s.alphaFunc = CompareFunc::GreaterEqual;
    s.cull = CullMode::CounterClockwise;
    s.colorWrite = true;
    s.colorOp = TextureOp::Modulate;
    s.alphaOp = TextureOp::Modulate;
    s.minFilter = s.magFilter = TextureFilter::Point;
    s.mipFilter = TextureFilter::None;
    if (flags & kTextFiltered) s.minFilter = s.magFilter = TextureFilter::Linear;
    device_->setState(s);

    const float texW = static_cast<float>(atlas_.textureSize) / static_cast<float>(atlas_.pixelRatio);
    const float scale = atlas_.textScale;
    const float spacing = static_cast<float>(atlas_.spacingPx) / static_cast<float>(atlas_.pixelRatio);
    const auto& blank = atlas_.glyphs[0];
    const float rowHeight = (blank[3] - blank[1]) * texW;

    if (flags & kTextCenterX) {
        float w = 0;
        for (const char* p = text; *p && *p != '\n'; ++p) {
            const auto ch = static_cast<unsigned char>(*p);
            if (ch < 32 || ch > 127) continue;
            const auto& g = atlas_.glyphs[ch - 32u];
            w += (g[2] - g[0]) * texW / scale - 2.0f * spacing;
        }
        xPx = (device_->screenSpaceWidth() - w) / 2.0f;
    }
    if (flags & kTextCenterY) yPx = (device_->screenSpaceHeight() - rowHeight) / 2.0f;

    xPx -= spacing;
    const float lineStart = xPx;
    VertexScreen* batch = batch_.data();
    int vertices = 0;
    for (const char* p = text; *p; ++p) {
        const auto ch = static_cast<unsigned char>(*p);
        if (ch == '\n') {
            xPx = lineStart;
            yPx += rowHeight;
            continue;
        }
        if (ch < 32 || ch > 127) continue;
        const auto& g = atlas_.glyphs[ch - 32u];
        const float left = g[0], top = g[1], right = g[2], bottom = g[3];
        const float w = (right - left) * texW / scale;
        const float h = (bottom - top) * texW / scale;
        if (ch != ' ') {
            const float x0 = xPx - 0.5f, y0 = yPx - 0.5f, x1 = xPx + w - 0.5f, y1 = yPx + h - 0.5f;
            batch[vertices++] = {x0, y1, 0.9f, 1.0f, argb, left, bottom};
            batch[vertices++] = {x0, y0, 0.9f, 1.0f, argb, left, top};
            batch[vertices++] = {x1, y1, 0.9f, 1.0f, argb, right, bottom};
            batch[vertices++] = {x1, y0, 0.9f, 1.0f, argb, right, top};
            batch[vertices++] = {x1, y1, 0.9f, 1.0f, argb, right, bottom};
            batch[vertices++] = {x0, y0, 0.9f, 1.0f, argb, left, top};
            if (vertices > kBatchTriangleLimit) {
                device_->drawUp(PrimitiveType::TriangleList, VertexFormat::Screen, batch, vertices);
                vertices = 0;
            }
        }
        xPx += w - 2.0f * spacing;
    }
    if (vertices > 0) device_->drawUp(PrimitiveType::TriangleList, VertexFormat::Screen, batch, vertices);
    device_->setState(saved);
    return 0;
}
