// GlDevice: the fixed-function drawing model the scene is written against (transforms, directional
// lights, materials, one texture stage, blending, alpha test, culling, depth switches, screen-space
// vertices), implemented on one OpenGL 3.3 core shader program.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "image.h"
#include "math3d.h"

// Conventions (the same as math3d.h):
// - Row vectors: a vertex v reaches clip space as v * world * view * projection. Left-handed axes.
// - Clip-space depth runs from 0 (near) to w (far), as perspectiveFovLH produces; the device maps
//   it to OpenGL's range itself.
// - Faces are front faces when their vertices run clockwise on the screen. The default cull mode,
//   CullMode::CounterClockwise, removes faces that run counter-clockwise.
// - Screen-space vertices give x, y in pixels from the top-left corner of the back buffer, with
//   pixel centres at integer coordinates (so x - 0.5 is the left edge of pixel column x), z in
//   [0, 1] for the depth test, and rhw (1/w) for perspective-correct texture interpolation.
//   They are never transformed or lit.
// - Colours in vertices are 32-bit ARGB values (0xAARRGGBB); colours of lights and materials are
//   ColorF with components in [0, 1].
//
// Lighting (when enabled, for every format except Screen) follows the fixed-function formula, per
// vertex:
//   colour = emissive + ambientMaterial * globalAmbient
//            + sum over enabled lights of diffuseMaterial * lightDiffuse * max(0, N . -direction)
// clamped to [0, 1]; alpha = diffuseMaterial.a. N is the vertex normal times the inverse transpose
// of the world matrix; it is normalised only when RenderState::normalizeNormals is set (off by
// default, so a scaled world matrix scales the lighting like the classic pipeline does). A format
// without normals has N = 0 (only emissive and ambient light it: turn lighting off to draw such
// vertices in their own colours). A format with a vertex colour takes it as diffuseMaterial.
// Light directions are normalised. With lighting off the diffuse colour is the vertex colour, or
// opaque white when the format has none.
//
// Texture stage 0 combines the texture sample T with that diffuse colour D by TextureOp, separately
// for colour and alpha. A null texture samples as opaque white, so a modulated untextured draw
// shows D.

struct ColorF {
    float r = 0, g = 0, b = 0, a = 0;
    bool operator==(const ColorF&) const = default;
};

// 0xAARRGGBB to components in [0, 1].
ColorF colorFromArgb(uint32_t argb);

// Vertex layouts, tightly packed, in the order the fields are listed.
enum class VertexFormat : uint8_t {
    PositionNormalUv,  // VertexPnt, 32 bytes
    PositionUv,        // VertexPt, 20 bytes
    PositionColor,     // VertexPc, 16 bytes (lines, markers)
    Screen,            // VertexScreen, 28 bytes, pre-transformed
};

struct VertexPnt {
    float x, y, z;     // model units
    float nx, ny, nz;  // normal
    float u, v;        // texture coordinates, v = 0 at the top row of the image
};
struct VertexPt {
    float x, y, z;
    float u, v;
};
struct VertexPc {
    float x, y, z;
    uint32_t argb;
};
struct VertexScreen {
    float x, y;     // pixels, top-left origin, pixel centres at integers
    float z;        // depth in [0, 1]
    float rhw;      // 1 / w; 1 for flat 2-D drawing
    uint32_t argb;  // diffuse colour
    float u, v;
};
static_assert(sizeof(VertexPnt) == 32 && sizeof(VertexPt) == 20 && sizeof(VertexPc) == 16 &&
              sizeof(VertexScreen) == 28);

size_t vertexStride(VertexFormat format);

enum class PrimitiveType : uint8_t { TriangleList, TriangleStrip, TriangleFan, LineList, PointList };

// Number of vertices (or indices) that primitiveCount primitives of this type take.
int verticesForPrimitives(PrimitiveType type, int primitiveCount);

enum class CullMode : uint8_t { None, Clockwise, CounterClockwise };
enum class BlendFactor : uint8_t {
    Zero, One, SrcColor, InvSrcColor, SrcAlpha, InvSrcAlpha, DestAlpha, InvDestAlpha, DestColor,
    InvDestColor
};
enum class CompareFunc : uint8_t { Never, Less, Equal, LessEqual, Greater, NotEqual, GreaterEqual, Always };
enum class TextureOp : uint8_t {
    Modulate,       // T * D
    SelectTexture,  // T
    SelectDiffuse,  // D
};
enum class TextureFilter : uint8_t { None, Point, Linear };  // None only as a mip filter
enum class TextureAddress : uint8_t { Wrap, Clamp };

struct DirectionalLight {
    ColorF diffuse;       // alpha ignored
    Vec3f direction;      // world frame, the direction the light travels
    bool enabled = false;
    bool operator==(const DirectionalLight& o) const {
        return diffuse == o.diffuse && direction.x == o.direction.x &&
               direction.y == o.direction.y && direction.z == o.direction.z &&
               enabled == o.enabled;
    }
};
constexpr int kMaxLights = 8;

struct Material {
    ColorF diffuse{1, 1, 1, 1};
    ColorF ambient{0, 0, 0, 0};
    ColorF emissive{0, 0, 0, 0};
    bool operator==(const Material&) const = default;
};

class GlTexture;

// Every setting the device applies when drawing. A copy of it is a state block: take it with
// GlDevice::state() and put it back with GlDevice::setState(). Defaults are those of a fresh
// classic device: lighting on, depth test and write on (LessEqual), counter-clockwise culling,
// no blending, no alpha test, colour modulate and alpha select-texture, point filtering without mip maps, wrap addressing.
struct RenderState {
    Mat4f world, view, projection;
    bool lighting = true;
    bool normalizeNormals = false;
    ColorF globalAmbient{0, 0, 0, 0};
    DirectionalLight lights[kMaxLights];
    Material material;

    const GlTexture* texture = nullptr;  // not owned; null = untextured
    TextureOp colorOp = TextureOp::Modulate;
    TextureOp alphaOp = TextureOp::SelectTexture;
    TextureFilter minFilter = TextureFilter::Point;
    TextureFilter magFilter = TextureFilter::Point;
    TextureFilter mipFilter = TextureFilter::None;
    TextureAddress address = TextureAddress::Wrap;

    bool blend = false;
    BlendFactor srcBlend = BlendFactor::One;
    BlendFactor dstBlend = BlendFactor::Zero;
    bool alphaTest = false;
    CompareFunc alphaFunc = CompareFunc::Always;
    int alphaRef = 0;  // 0..255, compared with the fragment alpha scaled to 0..255

    CullMode cull = CullMode::CounterClockwise;
    bool depthTest = true;   // off: no depth test and no depth write
    bool depthWrite = true;
    CompareFunc depthFunc = CompareFunc::LessEqual;
    bool colorWrite = true;

    bool operator==(const RenderState&) const = default;
};

// A texture with RGBA8 texels. Move-only; releases its GL name on destruction (needs the context
// that created it to be current).
class GlTexture {
public:
    GlTexture() = default;
    ~GlTexture();
    GlTexture(GlTexture&& other) noexcept;
    GlTexture& operator=(GlTexture&& other) noexcept;
    GlTexture(const GlTexture&) = delete;
    GlTexture& operator=(const GlTexture&) = delete;

    // Uploads the picture (top row first; it becomes v = 0) with a full mip chain when mipmaps is
    // set. False for an empty picture or a GL error; the texture is then empty.
    bool create(const Image& image, bool mipmaps = true);
    // Replaces the texels of level 0 (same size as created) and rebuilds the mip chain if any.
    bool update(const Image& image);
    void release();

    bool valid() const { return name_ != 0; }
    int width() const { return width_; }
    int height() const { return height_; }
    bool hasMipmaps() const { return mipmaps_; }
    unsigned glName() const { return name_; }

private:
    unsigned name_ = 0;
    int width_ = 0, height_ = 0;
    bool mipmaps_ = false;
};

// A vertex buffer of one format. Static buffers are filled once; dynamic ones are refilled with
// update() (the old contents are orphaned, so refilling never waits for the GPU). Move-only.
class GlVertexBuffer {
public:
    GlVertexBuffer() = default;
    ~GlVertexBuffer();
    GlVertexBuffer(GlVertexBuffer&& other) noexcept;
    GlVertexBuffer& operator=(GlVertexBuffer&& other) noexcept;
    GlVertexBuffer(const GlVertexBuffer&) = delete;
    GlVertexBuffer& operator=(const GlVertexBuffer&) = delete;

    // data may be null to reserve bytes. False on a GL error.
    bool create(const void* data, size_t bytes, VertexFormat format, bool dynamic = false);
    // Writes bytes at the start of the buffer; grows it when needed.
    bool update(const void* data, size_t bytes);
    void release();

    bool valid() const { return buffer_ != 0; }
    VertexFormat format() const { return format_; }
    size_t bytes() const { return bytes_; }
    int vertexCount() const { return static_cast<int>(bytes_ / vertexStride(format_)); }
    unsigned vertexArray() const { return vao_; }

private:
    unsigned buffer_ = 0, vao_ = 0;
    size_t bytes_ = 0;
    VertexFormat format_ = VertexFormat::PositionNormalUv;
    bool dynamic_ = false;
};

// 16- or 32-bit indices. Move-only.
class GlIndexBuffer {
public:
    GlIndexBuffer() = default;
    ~GlIndexBuffer();
    GlIndexBuffer(GlIndexBuffer&& other) noexcept;
    GlIndexBuffer& operator=(GlIndexBuffer&& other) noexcept;
    GlIndexBuffer(const GlIndexBuffer&) = delete;
    GlIndexBuffer& operator=(const GlIndexBuffer&) = delete;

    bool create(const uint16_t* indices, size_t count);
    bool create(const uint32_t* indices, size_t count);
    void release();

    bool valid() const { return buffer_ != 0; }
    size_t count() const { return count_; }
    bool is32Bit() const { return is32Bit_; }
    unsigned glName() const { return buffer_; }

private:
    unsigned buffer_ = 0;
    size_t count_ = 0;
    bool is32Bit_ = false;
};

// The device. One per GL context; construct it with the context current, then call init().
// All drawing goes into the device's back buffer, an off-screen framebuffer of the size given to
// resizeBackBuffer(); presentTo() copies it to the window's framebuffer. The back buffer keeps the
// last presented frame until the next clear, so readBackBuffer() right after a present (or before
// the next frame's clear) returns what is on screen.
class GlDevice {
public:
    GlDevice();
    ~GlDevice();
    GlDevice(const GlDevice&) = delete;
    GlDevice& operator=(const GlDevice&) = delete;

    // Compiles the program and makes the streaming buffers. False (with errorText()) when the
    // context cannot run it.
    bool init();
    const char* errorText() const { return error_.c_str(); }

    // (Re)creates the back buffer: colour RGBA8 and 24-bit depth, 8-bit stencil. Contents undefined.
    bool resizeBackBuffer(int widthPx, int heightPx);
    int backBufferWidth() const { return width_; }
    int backBufferHeight() const { return height_; }
    // The viewport always covers the whole back buffer.
    int viewportWidth() const { return width_; }
    int viewportHeight() const { return height_; }
    // Screen-space vertices are given in units of scale back-buffer pixels (1, 2 or 3), so that
    // everything drawn on the screen plane grows by a whole factor on large back buffers; a
    // unit's corner (x - 0.5) lands on the corner of pixel scale * x. Transformed vertices are
    // not affected.
    void setScreenScale(int scale) { screenScale_ = scale < 1 ? 1 : scale; }
    int screenScale() const { return screenScale_; }
    // The back buffer in screen-space units.
    float screenSpaceWidth() const { return static_cast<float>(width_) / static_cast<float>(screenScale_); }
    float screenSpaceHeight() const { return static_cast<float>(height_) / static_cast<float>(screenScale_); }
    // Makes the back buffer the draw target again (after code that bound another framebuffer).
    void bindBackBuffer();
    // Copies the back buffer to framebuffer 0 of drawable size (scaled when sizes differ).
    void presentTo(int drawableWidthPx, int drawableHeightPx);
    // Reads the back buffer into image (top row first, alpha forced to 255). False without one.
    bool readBackBuffer(Image& image);

    // Clears colour (0xAARRGGBB) and/or depth (and stencil to 0) of the whole back buffer,
    // regardless of the colour and depth write switches.
    void clear(bool target, uint32_t argb, bool zbuffer, float depth = 1.0f);

    // --- state: setters change the current RenderState; GL is updated lazily at the next draw ---
    const RenderState& state() const { return state_; }
    void setState(const RenderState& state) { state_ = state; }

    void setWorld(const Mat4f& m) { state_.world = m; }
    void setView(const Mat4f& m) { state_.view = m; }
    void setProjection(const Mat4f& m) { state_.projection = m; }
    void setLighting(bool on) { state_.lighting = on; }
    void setNormalizeNormals(bool on) { state_.normalizeNormals = on; }
    void setAmbient(uint32_t argb) { state_.globalAmbient = colorFromArgb(argb); }
    // index 0..7; out-of-range indices are ignored.
    void setLight(int index, const ColorF& diffuse, Vec3f direction);
    void enableLight(int index, bool on);
    void setMaterial(const Material& m) { state_.material = m; }
    void setTexture(const GlTexture* texture) { state_.texture = texture; }
    void setTextureOps(TextureOp colorOp, TextureOp alphaOp) {
        state_.colorOp = colorOp;
        state_.alphaOp = alphaOp;
    }
    void setFilters(TextureFilter minFilter, TextureFilter magFilter, TextureFilter mipFilter) {
        state_.minFilter = minFilter;
        state_.magFilter = magFilter;
        state_.mipFilter = mipFilter;
    }
    void setTextureAddress(TextureAddress a) { state_.address = a; }
    void setBlend(bool on, BlendFactor src = BlendFactor::SrcAlpha,
                  BlendFactor dst = BlendFactor::InvSrcAlpha) {
        state_.blend = on;
        state_.srcBlend = src;
        state_.dstBlend = dst;
    }
    void setAlphaTest(bool on, CompareFunc func = CompareFunc::GreaterEqual, int ref = 0) {
        state_.alphaTest = on;
        state_.alphaFunc = func;
        state_.alphaRef = ref;
    }
    void setCull(CullMode mode) { state_.cull = mode; }
    void setDepthTest(bool on) { state_.depthTest = on; }
    void setDepthWrite(bool on) { state_.depthWrite = on; }
    void setDepthFunc(CompareFunc f) { state_.depthFunc = f; }

    // --- drawing ---
    // Vertices from memory, through a streaming buffer (any size).
    void drawUp(PrimitiveType type, VertexFormat format, const void* vertices, int vertexCount);
    // vertexCount vertices of a buffer, starting at firstVertex.
    void draw(PrimitiveType type, const GlVertexBuffer& vb, int firstVertex, int vertexCount);
    // indexCount indices of an index buffer, starting at firstIndex, added to baseVertex.
    void drawIndexed(PrimitiveType type, const GlVertexBuffer& vb, const GlIndexBuffer& ib,
                     int firstIndex, int indexCount, int baseVertex = 0);

    // Statistics since the last resetStats(): draw calls and vertices submitted.
    int drawCallCount() const { return drawCalls_; }
    long long vertexCount() const { return verticesDrawn_; }
    void resetStats() {
        drawCalls_ = 0;
        verticesDrawn_ = 0;
    }
    int maxTextureSize() const { return maxTextureSize_; }

private:
    struct Impl;
    void prepareDraw(VertexFormat format);
    void apply();

    std::unique_ptr<Impl> impl_;
    RenderState state_;
    std::string error_;
    int width_ = 0, height_ = 0;
    int screenScale_ = 1;
    int drawCalls_ = 0;
    long long verticesDrawn_ = 0;
    int maxTextureSize_ = 0;
};
