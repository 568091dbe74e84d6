// IconSprite: one bitmap drawn in screen space with a colour key, scaling, rotation, translation
// and a modulate colour; the heads-up display's icons and the on-screen buttons are made of them.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "gl_device.h"
#include "image.h"

constexpr uint32_t kIconDefaultColourKey = 0xFF000000;  // opaque black becomes transparent
constexpr uint32_t kIconOpaqueWhite = 0xFFFFFFFF;

// A rectangle of pixels or texels, edges included when testing a point.
struct IconRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    bool isZero() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    bool contains(int x, int y) const { return x >= left && x <= right && y >= top && y <= bottom; }
    bool operator==(const IconRect&) const = default;
};

struct Point2f {
    float x = 0, y = 0;
};

// How a sprite is placed: the drawn area (the source rectangle, or the whole texture when the
// rectangle is all zero) is scaled about its top-left corner, rotated by rotationRad about
// rotationCentre (in scaled pixels from that corner), then moved by translation (pixels from the
// top-left of the back buffer).
struct SpritePlacement {
    Point2f scaling{1, 1};
    Point2f rotationCentre;
    float rotationRad = 0;  // positive turns clockwise on the screen (y points down)
    Point2f translation;
    IconRect sourceRect;    // texels; all zero = the whole texture
    uint32_t modulateArgb = kIconOpaqueWhite;
};

// The four screen-space corners of a sprite of a texture of textureWidth x textureHeight texels,
// in triangle-strip order: top-left, top-right, bottom-left, bottom-right. Positions are shifted
// by half a pixel so that texel and pixel centres coincide at scale 1.
// A sprite that the device's screen scale enlarges by a whole factor (2, 3, ...) in both
// directions: its texels are drawn as crisp blocks rather than blurred.
bool magnifiedByWholeFactor(const SpritePlacement& placement, int screenScale);

std::array<VertexScreen, 4> spriteQuad(const SpritePlacement& placement, int textureWidth,
                                       int textureHeight);

// Reads a picture file and makes the texels of colour keyArgb (0xAARRGGBB) transparent. Nothing,
// with `error` set, when the file cannot be read or decoded.
std::optional<Image> loadIconImage(const std::string& path, uint32_t keyArgb,
                                   std::string* error = nullptr);

// Texture and placement of one icon. Loading and drawing need the GL context of the device to be
// current; placement, hovering and the hit rectangle work without one. Move-only (owns a texture).
class IconSprite {
public:
    IconSprite() = default;
    IconSprite(IconSprite&&) noexcept = default;
    IconSprite& operator=(IconSprite&&) noexcept = default;

    // Releases an older texture, loads the file with the current colour key (with a full mip
    // chain) and remembers the path. False, with `error` set when given, if the file cannot be
    // read or the texture not created; the sprite is then empty.
    bool loadIcon(const std::string& path, std::string* error = nullptr);
    // Stores the key; if a texture is loaded and the sprite is reloadable, loads its file again
    // with the new key. False only when that reload fails.
    bool setColourKey(uint32_t argb, std::string* error = nullptr);
    void setReloadable(bool on) { reloadable_ = on; }

    void setScaling(float x, float y) { placement_.scaling = {x, y}; }
    void setTranslation(float x, float y) { placement_.translation = {x, y}; }
    void setRotation(float angleRad, float centreX = 0, float centreY = 0) {
        placement_.rotationRad = angleRad;
        placement_.rotationCentre = {centreX, centreY};
    }
    void setModulateColour(uint32_t argb) { placement_.modulateArgb = argb; }
    void setSourceRect(const IconRect& texels) { placement_.sourceRect = texels; }

    // Draws the texture at the placement, alpha blended, without depth test, lighting or culling,
    // and leaves the device's render state as it found it. False when no texture is loaded.
    bool drawIcon(GlDevice& device) const;

    // Hovering for on-screen controls: hovered = the point (client pixels) lies inside the hit
    // rectangle, edges included. Returns the new flag.
    bool updateHover(int x, int y) {
        hovered = hitRect.contains(x, y);
        return hovered;
    }

    void release();

    bool loaded() const { return texture_.valid(); }
    const GlTexture& texture() const { return texture_; }
    const std::string& fileName() const { return fileName_; }
    uint32_t colourKey() const { return colourKey_; }
    const SpritePlacement& placement() const { return placement_; }
    int textureWidth() const { return texture_.width(); }
    int textureHeight() const { return texture_.height(); }

    IconRect hitRect;      // client pixels
    bool hovered = false;  // the pointer was inside hitRect at the last updateHover
    bool visible = false;  // drawn and hoverable by on-screen controls

private:
    GlTexture texture_;
    std::string fileName_;
    bool reloadable_ = true;
    uint32_t colourKey_ = kIconDefaultColourKey;
    SpritePlacement placement_;
};
