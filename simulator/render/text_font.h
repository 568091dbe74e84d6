// TextFont: a font rendered once into a glyph texture and drawn as screen-space textured quads
// through the device layer, in batches of at most 50 characters.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "gl_device.h"
#include "glyph_atlas.h"

// Creation flags.
constexpr unsigned kFontBold = 1;
constexpr unsigned kFontItalic = 2;
constexpr unsigned kFontDepthTest = 4;  // depth test on while drawing (z = 0.9)
// drawText flags.
constexpr unsigned kTextCenterX = 1;   // centre horizontally in the viewport (first line's width)
constexpr unsigned kTextCenterY = 2;   // centre vertically (one row's height)
constexpr unsigned kTextFiltered = 8;  // linear texture filtering
// Result of a failed call (the classic E_FAIL).
constexpr int kTextFontFail = static_cast<int>(0x80004005u);

// Lifecycle: construct -> onDeviceCreated (glyph texture) -> onDeviceReset (vertex buffer,
// drawing state) -> drawText ... -> onDeviceLost -> onDeviceReset ... -> onDeviceDestroyed.
// Measuring works once the glyphs exist; drawing needs a restored font.
class TextFont {
public:
    // The face name is truncated to 79 characters. Nothing else is allocated.
    TextFont(const char* faceName, unsigned heightPt, unsigned flags = 0);
    ~TextFont();
    TextFont(const TextFont&) = delete;
    TextFont& operator=(const TextFont&) = delete;

    // Builds the glyph texture; 0, or kTextFontFail when the font or the texture cannot be made.
    int onDeviceCreated(GlDevice* device);
    // The whole factor (1, 2, 3) by which the device scales screen space. Sizes and positions
    // stay in screen-space units; the glyphs are rasterised at the larger size where the face
    // has it, so scaled text stays sharp. Rebuilds the glyph texture when it changes.
    int setPixelRatio(int ratio);
    // Creates the vertex batch (9600 bytes). 0 or kTextFontFail.
    int onDeviceReset();
    int onDeviceLost();
    int onDeviceDestroyed();

    // Width and height in screen-space units of the text: the widest line, and one row height per line.
    // kTextFontFail for a null text or result.
    int measureText(const char* text, int* widthPx, int* heightPx) const;
    // Draws text at (x, y) pixels (top-left of the first line) in the ARGB colour. Line feeds
    // start a new line at the same x; characters outside 32..127 are skipped. The device's
    // render state is restored afterwards. kTextFontFail without a restored device.
    int drawText(float xPx, float yPx, uint32_t argb, const char* text, unsigned flags = 0);

    const char* faceName() const { return faceName_; }
    unsigned heightPt() const { return heightPt_; }
    unsigned flags() const { return flags_; }
    bool hasGlyphs() const { return atlas_.textureSize != 0; }
    const GlyphAtlas& atlas() const { return atlas_; }
    const GlTexture& texture() const { return texture_; }

private:

    char faceName_[80] = {};
    unsigned heightPt_ = 0;
    unsigned flags_ = 0;
    int pixelRatio_ = 1;
    GlDevice* device_ = nullptr;
    GlyphAtlas atlas_;
    GlTexture texture_;
    // One batch of vertices (9600 bytes), made on reset and released when the device is lost;
    // each full batch goes through the device's streaming buffer in one write and one draw.
    std::vector<VertexScreen> batch_;
    bool restored_ = false;
};
