// Draws through GlDevice into its off-screen back buffer and checks pixels: screen-space placement,
// the transform chain and depth range, culling by winding, lighting, texture stage, alpha test,
// blending, and state blocks. Skipped where no OpenGL exists.
#include <gtest/gtest.h>

#include <cmath>

#include "gl_device.h"
#include "gl_offscreen_context.h"

namespace {

constexpr int kW = 64, kH = 48;

struct Rgb {
    int r, g, b;
};

class GlDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!context_.create()) GTEST_SKIP() << "no OpenGL: " << context_.error();
        ASSERT_TRUE(device_.init()) << device_.errorText();
        ASSERT_TRUE(device_.resizeBackBuffer(kW, kH));
        device_.clear(true, 0xFF000000, true);
    }
    Rgb pixel(int x, int y) {
        Image shot;
        EXPECT_TRUE(device_.readBackBuffer(shot));
        const size_t o = shot.offset(x, y);
        return {shot.rgba[o], shot.rgba[o + 1], shot.rgba[o + 2]};
    }
    // A rectangle of screen-space vertices covering pixels [x0, x1) x [y0, y1), clockwise.
    void screenRect(int x0, int y0, int x1, int y1, uint32_t argb, float z = 0.5f) {
        const float l = static_cast<float>(x0) - 0.5f, t = static_cast<float>(y0) - 0.5f;
        const float r = static_cast<float>(x1) - 0.5f, b = static_cast<float>(y1) - 0.5f;
        const VertexScreen v[6] = {{l, b, z, 1, argb, 0, 1}, {l, t, z, 1, argb, 0, 0},
                                   {r, b, z, 1, argb, 1, 1}, {r, t, z, 1, argb, 1, 0},
                                   {r, b, z, 1, argb, 1, 1}, {l, t, z, 1, argb, 0, 0}};
        device_.drawUp(PrimitiveType::TriangleList, VertexFormat::Screen, v, 6);
    }

    GlOffscreenContext context_;
    GlDevice device_;
};

void expectRgb(Rgb actual, Rgb expected, int tol = 2) {
    EXPECT_NEAR(actual.r, expected.r, tol);
    EXPECT_NEAR(actual.g, expected.g, tol);
    EXPECT_NEAR(actual.b, expected.b, tol);
}

TEST_F(GlDeviceTest, ScreenSpaceVerticesCoverExactPixelsFromTopLeft) {
    screenRect(10, 5, 20, 9, 0xFFFF0000);
    expectRgb(pixel(10, 5), {255, 0, 0}, 0);
    expectRgb(pixel(19, 8), {255, 0, 0}, 0);
    expectRgb(pixel(9, 5), {0, 0, 0}, 0);
    expectRgb(pixel(20, 5), {0, 0, 0}, 0);
    expectRgb(pixel(10, 4), {0, 0, 0}, 0);
    expectRgb(pixel(10, 9), {0, 0, 0}, 0);
    EXPECT_EQ(device_.drawCallCount(), 1);
    EXPECT_EQ(device_.vertexCount(), 6);
}

TEST_F(GlDeviceTest, ClearUsesArgbAndCaptureRowsRunTopDown) {
    device_.clear(true, 0xFF102030, true);
    expectRgb(pixel(0, 0), {0x10, 0x20, 0x30}, 0);
    screenRect(0, 0, kW, 1, 0xFF00FF00);  // top row only
    expectRgb(pixel(5, 0), {0, 255, 0}, 0);
    expectRgb(pixel(5, kH - 1), {0x10, 0x20, 0x30}, 0);
}

TEST_F(GlDeviceTest, TransformChainAndDepthRangeFollowRowVectorConventions) {
    device_.setLighting(false);
    device_.setProjection(perspectiveFovLH(0.7853982f, float(kW) / kH, 0.1f, 100.0f));
    device_.setView(Mat4f::identity());
    // A quad at z = 5 shifted right by the world matrix: x > 0 must land right of centre.
    const VertexPt quad[4] = {{-0.5f, 0.5f, 0, 0, 0}, {0.5f, 0.5f, 0, 0, 0},
                              {-0.5f, -0.5f, 0, 0, 0}, {0.5f, -0.5f, 0, 0, 0}};
    device_.setCull(CullMode::None);
    device_.setTextureOps(TextureOp::SelectDiffuse, TextureOp::SelectDiffuse);
    device_.setWorld(translation(1.0f, 0, 5.0f));
    device_.drawUp(PrimitiveType::TriangleStrip, VertexFormat::PositionUv, quad, 4);
    expectRgb(pixel(kW / 2 + 8, kH / 2), {255, 255, 255}, 0);
    expectRgb(pixel(kW / 2 - 8, kH / 2), {0, 0, 0}, 0);
    // +y is up on the screen.
    device_.clear(true, 0xFF000000, true);
    device_.setWorld(translation(0, 1.0f, 5.0f));
    device_.drawUp(PrimitiveType::TriangleStrip, VertexFormat::PositionUv, quad, 4);
    expectRgb(pixel(kW / 2, kH / 2 - 10), {255, 255, 255}, 0);
    expectRgb(pixel(kW / 2, kH / 2 + 10), {0, 0, 0}, 0);
    // Beyond the far plane nothing is drawn; just inside it is.
    device_.clear(true, 0xFF000000, true);
    device_.setWorld(scaling(100, 100, 1) * translation(0, 0, 101.0f));
    device_.drawUp(PrimitiveType::TriangleStrip, VertexFormat::PositionUv, quad, 4);
    expectRgb(pixel(kW / 2, kH / 2), {0, 0, 0}, 0);
    device_.setWorld(scaling(100, 100, 1) * translation(0, 0, 99.0f));
    device_.drawUp(PrimitiveType::TriangleStrip, VertexFormat::PositionUv, quad, 4);
    expectRgb(pixel(kW / 2, kH / 2), {255, 255, 255}, 0);
}

TEST_F(GlDeviceTest, DepthTestKeepsNearerSurfaceAndSwitchesOff) {
    screenRect(0, 0, kW, kH, 0xFFFF0000, 0.3f);
    screenRect(0, 0, kW, kH, 0xFF00FF00, 0.6f);  // farther: hidden
    expectRgb(pixel(30, 20), {255, 0, 0}, 0);
    device_.setDepthTest(false);
    screenRect(0, 0, kW, kH, 0xFF0000FF, 0.9f);  // no test: drawn
    expectRgb(pixel(30, 20), {0, 0, 255}, 0);
    // With the test off nothing was written: a surface at 0.5 still loses against 0.3.
    device_.setDepthTest(true);
    screenRect(0, 0, kW, kH, 0xFFFFFF00, 0.5f);
    expectRgb(pixel(30, 20), {0, 0, 255}, 0);
}

TEST_F(GlDeviceTest, CullModesRemoveFacesByScreenWinding) {
    const auto tri = [&](bool clockwise, uint32_t argb) {
        VertexScreen a{10, 40, 0.5f, 1, argb, 0, 0}, b{10, 10, 0.5f, 1, argb, 0, 0},
            c{40, 40, 0.5f, 1, argb, 0, 0};
        const VertexScreen v[3] = {a, clockwise ? b : c, clockwise ? c : b};
        device_.drawUp(PrimitiveType::TriangleList, VertexFormat::Screen, v, 3);
    };
    // Default: counter-clockwise faces culled.
    tri(false, 0xFFFF0000);
    expectRgb(pixel(15, 35), {0, 0, 0}, 0);
    tri(true, 0xFF00FF00);
    expectRgb(pixel(15, 35), {0, 255, 0}, 0);
    device_.setCull(CullMode::Clockwise);
    tri(true, 0xFF0000FF);
    expectRgb(pixel(15, 35), {0, 255, 0}, 0);
    tri(false, 0xFFFFFFFF);
    expectRgb(pixel(15, 35), {255, 255, 255}, 0);
    device_.setCull(CullMode::None);
    tri(true, 0xFFFF00FF);
    expectRgb(pixel(15, 35), {255, 0, 255}, 0);
}

TEST_F(GlDeviceTest, LightingFollowsTheFixedFunctionFormula) {
    device_.setProjection(perspectiveFovLH(0.7853982f, float(kW) / kH, 0.1f, 100.0f));
    device_.setWorld(translation(0, 0, 5.0f));
    device_.setCull(CullMode::None);
    // A quad facing the camera: normal (0, 0, -1).
    VertexPnt quad[4] = {{-3, 3, 0, 0, 0, -1, 0, 0}, {3, 3, 0, 0, 0, -1, 0, 0},
                         {-3, -3, 0, 0, 0, -1, 0, 0}, {3, -3, 0, 0, 0, -1, 0, 0}};
    Material m;
    m.diffuse = {1.0f, 0.5f, 1.0f, 1.0f};
    m.ambient = {1, 1, 1, 1};
    m.emissive = {0, 0, 0.2f, 0};
    device_.setMaterial(m);
    device_.setAmbient(0x00202020);  // 32/255 each
    // A light travelling along +z hits the face head on (N . -dir = 1) ...
    device_.setLight(0, {0.5f, 1.0f, 0.0f, 0}, {0, 0, 2.0f});
    device_.enableLight(0, true);
    // ... one from behind adds nothing ...
    device_.setLight(1, {1, 1, 1, 0}, {0, 0, -1});
    device_.enableLight(1, true);
    // ... and a disabled one neither.
    device_.setLight(2, {1, 1, 1, 0}, {0, 0, 1});
    device_.drawUp(PrimitiveType::TriangleStrip, VertexFormat::PositionNormalUv, quad, 4);
    const int amb = 32;
    expectRgb(pixel(kW / 2, kH / 2), {amb + 128, amb + 128, amb + 51});
    // Lighting off: the vertex colour (white for this format).
    device_.setLighting(false);
    device_.drawUp(PrimitiveType::TriangleStrip, VertexFormat::PositionNormalUv, quad, 4);
    expectRgb(pixel(kW / 2, kH / 2), {255, 255, 255}, 0);
    // A world scale of 2 without normalisation halves the diffuse term.
    device_.setLighting(true);
    device_.setAmbient(0);
    m.emissive = {};
    device_.setMaterial(m);
    device_.setLight(0, {1, 1, 1, 0}, {0, 0, 1});
    device_.enableLight(1, false);
    device_.setWorld(scaling(2, 2, 2) * translation(0, 0, 10.0f));
    device_.clear(true, 0xFF000000, true);
    device_.drawUp(PrimitiveType::TriangleStrip, VertexFormat::PositionNormalUv, quad, 4);
    expectRgb(pixel(kW / 2, kH / 2), {128, 64, 128});
    device_.setNormalizeNormals(true);
    device_.drawUp(PrimitiveType::TriangleStrip, VertexFormat::PositionNormalUv, quad, 4);
    expectRgb(pixel(kW / 2, kH / 2), {255, 128, 255});
}

TEST_F(GlDeviceTest, TextureStageAlphaTestAndBlending) {
    Image img;
    img.resize(2, 1);
    img.rgba = {255, 0, 0, 255, 0, 0, 255, 4};  // opaque red, nearly transparent blue
    GlTexture tex;
    ASSERT_TRUE(tex.create(img, false));
    device_.setTexture(&tex);
    device_.setTextureOps(TextureOp::Modulate, TextureOp::Modulate);
    // Modulate by a grey diffuse: the left half shows half red.
    screenRect(0, 0, kW, kH, 0xFF808080);
    expectRgb(pixel(8, 10), {128, 0, 0});
    // Select texture ignores the diffuse colour.
    device_.setTextureOps(TextureOp::SelectTexture, TextureOp::SelectTexture);
    screenRect(0, 0, kW, kH, 0xFF808080);
    expectRgb(pixel(8, 10), {255, 0, 0}, 0);
    expectRgb(pixel(56, 10), {0, 0, 255}, 0);
    // Alpha test >= 8 drops the blue half (alpha 4), keeping what was there.
    device_.clear(true, 0xFF00FF00, true);
    device_.setAlphaTest(true, CompareFunc::GreaterEqual, 8);
    screenRect(0, 0, kW, kH, 0xFFFFFFFF);
    expectRgb(pixel(56, 10), {0, 255, 0}, 0);
    expectRgb(pixel(8, 10), {255, 0, 0}, 0);
    // A null texture samples as white: modulate shows the diffuse colour.
    device_.setAlphaTest(false);
    device_.setTexture(nullptr);
    device_.setTextureOps(TextureOp::Modulate, TextureOp::Modulate);
    // Blending source alpha / inverse source alpha over green.
    device_.clear(true, 0xFF00FF00, true);
    device_.setBlend(true, BlendFactor::SrcAlpha, BlendFactor::InvSrcAlpha);
    screenRect(0, 0, kW, kH, 0x80FF0000);
    expectRgb(pixel(30, 20), {128, 127, 0});
    // Additive one / one.
    device_.setBlend(true, BlendFactor::One, BlendFactor::One);
    screenRect(0, 0, kW, kH, 0xFF000080);
    expectRgb(pixel(30, 20), {128, 127, 128});

    // The same texture object created again with other texels is what the next draw samples.
    device_.setBlend(false);
    device_.setTexture(&tex);
    device_.setTextureOps(TextureOp::SelectTexture, TextureOp::SelectTexture);
    screenRect(0, 0, kW, kH, 0xFFFFFFFF);
    expectRgb(pixel(8, 10), {255, 0, 0}, 0);
    img.rgba = {0, 255, 0, 255, 0, 255, 0, 255};
    ASSERT_TRUE(tex.create(img, true));
    screenRect(0, 0, kW, kH, 0xFFFFFFFF);
    expectRgb(pixel(8, 10), {0, 255, 0}, 0);
    img.rgba = {255, 255, 0, 255, 255, 255, 0, 255};
    ASSERT_TRUE(tex.update(img));
    screenRect(0, 0, kW, kH, 0xFFFFFFFF);
    expectRgb(pixel(8, 10), {255, 255, 0}, 0);
}

// Each compare function against reference 128 on texels of alpha 127, 128 and 129. Every function
// runs in a program of its own, so this also checks that a program switch carries the reference
// and the screen-space uniforms along.
TEST_F(GlDeviceTest, AlphaTestCompareFunctionsAtTheReference) {
    Image img;
    img.resize(3, 1);
    img.rgba = {255, 0, 0, 127, 255, 0, 0, 128, 255, 0, 0, 129};
    GlTexture tex;
    ASSERT_TRUE(tex.create(img, false));
    device_.setTexture(&tex);
    device_.setFilters(TextureFilter::Point, TextureFilter::Point, TextureFilter::None);
    device_.setTextureOps(TextureOp::SelectTexture, TextureOp::SelectTexture);
    struct Case {
        CompareFunc func;
        bool passes[3];  // alpha 127, 128, 129
    };
    const Case cases[] = {{CompareFunc::Never, {false, false, false}},
                          {CompareFunc::Less, {true, false, false}},
                          {CompareFunc::Equal, {false, true, false}},
                          {CompareFunc::LessEqual, {true, true, false}},
                          {CompareFunc::Greater, {false, false, true}},
                          {CompareFunc::NotEqual, {true, false, true}},
                          {CompareFunc::GreaterEqual, {false, true, true}},
                          {CompareFunc::Always, {true, true, true}}};
    const int columns[3] = {10, 32, 53};
    for (const Case& c : cases) {
        device_.clear(true, 0xFF00FF00, true);
        device_.setAlphaTest(true, c.func, 128);
        screenRect(0, 0, kW, kH, 0xFFFFFFFF);
        for (int i = 0; i < 3; ++i) {
            SCOPED_TRACE(testing::Message() << "function " << static_cast<int>(c.func) << ", texel " << i);
            expectRgb(pixel(columns[i], 20), c.passes[i] ? Rgb{255, 0, 0} : Rgb{0, 255, 0}, 0);
        }
    }
    // Select diffuse never needs the texture: the vertex colour shows through unchanged.
    device_.setAlphaTest(false);
    device_.setTextureOps(TextureOp::SelectDiffuse, TextureOp::SelectDiffuse);
    screenRect(0, 0, kW, kH, 0xFF2040C0);
    expectRgb(pixel(10, 20), {0x20, 0x40, 0xC0}, 0);
}

TEST_F(GlDeviceTest, StateBlocksRestoreEverything) {
    const RenderState defaults = device_.state();
    EXPECT_TRUE(defaults.lighting);
    EXPECT_TRUE(defaults.depthTest);
    EXPECT_EQ(defaults.cull, CullMode::CounterClockwise);
    EXPECT_EQ(defaults.colorOp, TextureOp::Modulate);
    device_.setBlend(true);
    device_.setCull(CullMode::None);
    device_.setLight(3, {1, 0, 0, 0}, {1, 0, 0});
    device_.enableLight(3, true);
    device_.setLight(9, {1, 1, 1, 1}, {0, 1, 0});  // ignored
    const RenderState changed = device_.state();
    EXPECT_FALSE(changed == defaults);
    device_.setState(defaults);
    EXPECT_TRUE(device_.state() == defaults);
    // After a draw with the restored state the blend really is off again.
    screenRect(0, 0, kW, kH, 0x00FF0000);  // alpha 0 would vanish if blending stayed on
    expectRgb(pixel(1, 1), {255, 0, 0}, 0);
}

TEST_F(GlDeviceTest, StaticBuffersDrawIndexedAndRefuseOutOfRangeRanges) {
    const VertexScreen v[4] = {{-0.5f, -0.5f, 0.5f, 1, 0xFF00FFFF, 0, 0},
                               {31.5f, -0.5f, 0.5f, 1, 0xFF00FFFF, 0, 0},
                               {-0.5f, 31.5f, 0.5f, 1, 0xFF00FFFF, 0, 0},
                               {31.5f, 31.5f, 0.5f, 1, 0xFF00FFFF, 0, 0}};
    GlVertexBuffer vb;
    ASSERT_TRUE(vb.create(v, sizeof v, VertexFormat::Screen));
    EXPECT_EQ(vb.vertexCount(), 4);
    const uint16_t idx[6] = {2, 0, 3, 1, 3, 0};
    GlIndexBuffer ib;
    ASSERT_TRUE(ib.create(idx, 6));
    device_.drawIndexed(PrimitiveType::TriangleList, vb, ib, 0, 7);  // past the end: refused
    EXPECT_EQ(device_.drawCallCount(), 0);
    device_.drawIndexed(PrimitiveType::TriangleList, vb, ib, 0, 6);
    expectRgb(pixel(20, 20), {0, 255, 255}, 0);
    expectRgb(pixel(40, 20), {0, 0, 0}, 0);
    device_.draw(PrimitiveType::TriangleStrip, vb, 2, 3);  // 2 + 3 > 4: refused
    EXPECT_EQ(device_.drawCallCount(), 1);
    EXPECT_EQ(verticesForPrimitives(PrimitiveType::TriangleStrip, 2), 4);
    EXPECT_EQ(verticesForPrimitives(PrimitiveType::TriangleList, 2), 6);
    EXPECT_EQ(verticesForPrimitives(PrimitiveType::TriangleFan, 0), 0);
}

}  // namespace
