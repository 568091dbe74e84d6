// Tests of the icon sprite's placement geometry, colour-keyed loading and hit testing; none of
// them needs a GL context.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "bmp_file.h"
#include "icon_sprite.h"
#include "test_data_dir.h"

namespace {

constexpr float kPosTolPx = 1e-4f;

void expectCorner(const VertexScreen& v, float x, float y, float u, float tv) {
    EXPECT_NEAR(v.x, x, kPosTolPx);
    EXPECT_NEAR(v.y, y, kPosTolPx);
    EXPECT_FLOAT_EQ(v.u, u);
    EXPECT_FLOAT_EQ(v.v, tv);
    EXPECT_FLOAT_EQ(v.z, 0.0f);
    EXPECT_FLOAT_EQ(v.rhw, 1.0f);
}

void setPixel(Image& image, int x, int y, uint8_t r, uint8_t g, uint8_t b) {
    size_t o = image.offset(x, y);
    image.rgba[o] = r;
    image.rgba[o + 1] = g;
    image.rgba[o + 2] = b;
    image.rgba[o + 3] = 255;
}

}  // namespace

TEST(SpriteQuad, ScalingTranslationSourceRectAndRotation) {
    SpritePlacement p;
    auto q = spriteQuad(p, 32, 32);
    // Half-pixel shift: texel centres land on pixel centres at scale 1.
    expectCorner(q[0], -0.5f, -0.5f, 0, 0);
    expectCorner(q[1], 31.5f, -0.5f, 1, 0);
    expectCorner(q[2], -0.5f, 31.5f, 0, 1);
    expectCorner(q[3], 31.5f, 31.5f, 1, 1);
    EXPECT_EQ(q[0].argb, kIconOpaqueWhite);

    // The crosshair panel: scale 4 about the top-left corner, then moved.
    p.scaling = {4, 4};
    p.translation = {100, 50};
    p.modulateArgb = 0x4BFFFFFF;
    q = spriteQuad(p, 32, 32);
    expectCorner(q[0], 99.5f, 49.5f, 0, 0);
    expectCorner(q[3], 227.5f, 177.5f, 1, 1);
    for (const VertexScreen& v : q) EXPECT_EQ(v.argb, 0x4BFFFFFFu);

    // A flash icon scaled by (width >> 5, height / 31) covers a 1024 x 768 back buffer.
    SpritePlacement flash;
    flash.scaling = {static_cast<float>(1024 >> 5), static_cast<float>(768 / 31)};
    q = spriteQuad(flash, 32, 32);
    expectCorner(q[3], 1023.5f, 767.5f, 1, 1);

    // A source rectangle draws only that part, at its own size.
    SpritePlacement part;
    part.sourceRect = {16, 0, 32, 16};
    q = spriteQuad(part, 32, 32);
    expectCorner(q[0], -0.5f, -0.5f, 0.5f, 0);
    expectCorner(q[3], 15.5f, 15.5f, 1, 0.5f);

    // A quarter turn about the centre moves the top-left corner to the top-right (clockwise on a
    // screen whose y axis points down).
    SpritePlacement turned;
    turned.rotationRad = 1.5707964f;
    turned.rotationCentre = {16, 16};
    q = spriteQuad(turned, 32, 32);
    expectCorner(q[0], 31.5f, -0.5f, 0, 0);
    expectCorner(q[3], -0.5f, 31.5f, 1, 1);
}

TEST(SpriteQuad, OnlyWholeMagnificationsOfTheScaledScreenAreDrawnAsBlocks) {
    struct Case {
        float scaleX, scaleY;
        float rotation;
        int screenScale;
        bool blocks;
    };
    for (Case c : {Case{1, 1, 0, 1, false},      // the screen's own size: filtered as ever
                   Case{1, 1, 0, 2, true},       // a 32-pixel button on a doubled screen
                   Case{1, 1, 0, 3, true},
                   Case{0.5f, 0.5f, 0, 2, false},  // a 64-texel icon drawn at its own size
                   Case{0.5f, 0.5f, 0, 3, false},  // 1.5: not whole
                   Case{2, 2, 0, 2, true},
                   Case{1.7f, 0.9f, 0, 2, false},  // the text panel, stretched
                   Case{1, 1, 0.3f, 2, false}}) {  // turned
        SpritePlacement p;
        p.scaling = {c.scaleX, c.scaleY};
        p.rotationRad = c.rotation;
        EXPECT_EQ(magnifiedByWholeFactor(p, c.screenScale), c.blocks)
            << c.scaleX << " x " << c.scaleY << " at " << c.screenScale;
    }
}

TEST(IconSpriteLoading, ColourKeyAndErrors) {
    testdata::TempDataDir dir;
    Image picture;
    picture.resize(2, 2);
    setPixel(picture, 0, 0, 0, 0, 0);    // black
    setPixel(picture, 1, 0, 255, 0, 0);  // red
    setPixel(picture, 0, 1, 1, 0, 0);    // almost black: must stay
    setPixel(picture, 1, 1, 255, 255, 255);
    const std::string path = dir / "icon.bmp";
    ASSERT_TRUE(writeBmp32(path, picture));

    std::optional<Image> keyed = loadIconImage(path, kIconDefaultColourKey);
    ASSERT_TRUE(keyed.has_value());
    EXPECT_EQ(keyed->width, 2);
    EXPECT_EQ(keyed->rgba[keyed->offset(0, 0) + 3], 0);  // black is transparent
    EXPECT_EQ(keyed->rgba[keyed->offset(1, 0) + 3], 255);
    EXPECT_EQ(keyed->rgba[keyed->offset(0, 1) + 3], 255);
    EXPECT_EQ(keyed->rgba[keyed->offset(1, 1) + 3], 255);

    std::optional<Image> redKeyed = loadIconImage(path, 0xFFFF0000);
    ASSERT_TRUE(redKeyed.has_value());
    EXPECT_EQ(redKeyed->rgba[redKeyed->offset(0, 0) + 3], 255);
    EXPECT_EQ(redKeyed->rgba[redKeyed->offset(1, 0) + 3], 0);

    std::string error;
    EXPECT_FALSE(loadIconImage(dir / "missing.bmp", kIconDefaultColourKey, &error).has_value());
    EXPECT_FALSE(error.empty());

    // A sprite whose file is missing stays empty, reports the failure and cannot be drawn.
    IconSprite sprite;
    error.clear();
    EXPECT_FALSE(sprite.loadIcon(dir / "missing.bmp", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(sprite.loaded());
    EXPECT_EQ(sprite.fileName(), dir / "missing.bmp");
    // Changing the key of an empty sprite only stores it.
    EXPECT_TRUE(sprite.setColourKey(0xFF00FF00));
    EXPECT_EQ(sprite.colourKey(), 0xFF00FF00u);
}

TEST(IconSpriteHover, HitRectangleEdgesIncluded) {
    IconSprite sprite;
    EXPECT_FALSE(sprite.visible);
    EXPECT_FALSE(sprite.hovered);
    sprite.hitRect = {10, 20, 42, 52};
    EXPECT_TRUE(sprite.updateHover(10, 20));
    EXPECT_TRUE(sprite.updateHover(42, 52));
    EXPECT_TRUE(sprite.hovered);
    EXPECT_FALSE(sprite.updateHover(43, 30));
    EXPECT_FALSE(sprite.hovered);
    EXPECT_FALSE(sprite.updateHover(20, 19));
    EXPECT_TRUE(IconRect{}.isZero());
    EXPECT_FALSE(sprite.hitRect.isZero());

    sprite.setScaling(0.5f, 2);
    sprite.setTranslation(3, 4);
    sprite.setRotation(0.25f, 1, 2);
    sprite.setModulateColour(0x96FFFFFF);
    EXPECT_FLOAT_EQ(sprite.placement().scaling.x, 0.5f);
    EXPECT_FLOAT_EQ(sprite.placement().translation.y, 4);
    EXPECT_FLOAT_EQ(sprite.placement().rotationCentre.y, 2);
    EXPECT_EQ(sprite.placement().modulateArgb, 0x96FFFFFFu);
}
