// TextFont: texture sizes by height, the glyph layout, measuring, and drawing into an off-screen
// back buffer (batches of 50 characters, blanks, centring, depth test, colour, state restore).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "bmp_file.h"
#include "gl_device.h"
#include "gl_offscreen_context.h"
#include "launch_screen.h"
#include "text_font.h"

namespace {

TEST(GlyphAtlas, TextureSizeAndPixelHeightFollowTheFontHeight) {
    EXPECT_EQ(glyphTextureSize(8), 256u);
    EXPECT_EQ(glyphTextureSize(15), 256u);
    EXPECT_EQ(glyphTextureSize(16), 512u);
    EXPECT_EQ(glyphTextureSize(30), 512u);
    EXPECT_EQ(glyphTextureSize(31), 1024u);
    EXPECT_EQ(glyphTextureSize(60), 1024u);
    EXPECT_EQ(glyphTextureSize(61), 2048u);
    // 96 dpi: 8 pt = 10.67 px rounds to 11; 14 pt = 18.67 to 19; 6 pt = 8 exactly.
    EXPECT_EQ(glyphPixelHeight(8, 1.0f), 11);
    EXPECT_EQ(glyphPixelHeight(14, 1.0f), 19);
    EXPECT_EQ(glyphPixelHeight(6, 1.0f), 8);
    EXPECT_EQ(glyphPixelHeight(61, 0.5f), 41);  // 61 * 48 / 72 = 40.67
}

// The simulator's texts were laid out for a raster face of 12-pixel rows at 8 points and 18 at
// 14: the whole heads-up text then fits a 720-row window and the keyboard help 768 rows.
TEST(GlyphAtlas, TerminalRowsAreNoTallerThanTheRasterFacesCells) {
    for (auto [heightPt, maxRowPx] : {std::pair{8u, 12}, std::pair{14u, 18}}) {
        GlyphAtlas atlas;
        ASSERT_TRUE(rasterizeGlyphAtlas("Terminal", heightPt, kFontDepthTest, 0, atlas)) << "no font";
        const auto& blank = atlas.glyphs[0];
        const float row = (blank[3] - blank[1]) * static_cast<float>(atlas.textureSize);
        EXPECT_LE(row, static_cast<float>(maxRowPx)) << heightPt << " pt from " << atlas.fontFile;
        EXPECT_GE(row, static_cast<float>(maxRowPx - 3)) << heightPt << " pt from " << atlas.fontFile;
    }
}

TEST(GlyphAtlas, LayoutFillsPrintableCharactersAndLeavesDelZero) {
    GlyphAtlas atlas;
    ASSERT_TRUE(rasterizeGlyphAtlas("Terminal", 8, kFontDepthTest, 0, atlas)) << "no font";
    EXPECT_EQ(atlas.textureSize, 256u);
    EXPECT_FLOAT_EQ(atlas.textScale, 1.0f);
    const float s = 256.0f;
    const auto& blank = atlas.glyphs[0];
    const float rowHeight = (blank[3] - blank[1]) * s;
    EXPECT_EQ(atlas.spacingPx, static_cast<int>(std::ceil(0.3 * rowHeight)));
    for (int ch = 32; ch < 127; ++ch) {
        const auto& g = atlas.glyphs[static_cast<size_t>(ch - 32)];
        EXPECT_GT(g[2], g[0]) << ch;
        EXPECT_NEAR((g[3] - g[1]) * s, rowHeight, 1e-3) << ch;
        EXPECT_LE(g[2], 1.0f) << ch;
        EXPECT_LE(g[3], 1.0f) << ch;
    }
    for (float v : atlas.glyphs[95]) EXPECT_EQ(v, 0.0f);
    // Glyphs hold white texels with 4-bit alpha, and transparent black elsewhere.
    int covered = 0;
    for (size_t i = 0; i < atlas.texels.rgba.size(); i += 4) {
        const uint8_t a = atlas.texels.rgba[i + 3];
        EXPECT_EQ(a % 17, 0);
        if (a) {
            ++covered;
            EXPECT_EQ(atlas.texels.rgba[i], 255);
        } else {
            EXPECT_EQ(atlas.texels.rgba[i], 0);
        }
    }
    EXPECT_GT(covered, 500);
    // A device limit below the wanted size scales the text down.
    GlyphAtlas small;
    ASSERT_TRUE(rasterizeGlyphAtlas("Terminal", 20, 0, 256, small));
    EXPECT_EQ(small.textureSize, 256u);
    EXPECT_FLOAT_EQ(small.textScale, 0.5f);
}

// Glyphs for a device that scales screen space: the larger strike where the face has it, with
// exactly the cells of the font's own size times the factor; else the font's own glyphs.
TEST(GlyphAtlas, EnlargedGlyphsKeepTheCellsOfTheFontsOwnSize) {
    struct Case {
        unsigned heightPt;
        int ratio;
    };
    for (Case c : {Case{8, 2}, Case{14, 2}, Case{8, 3}}) {
        GlyphAtlas base, large;
        ASSERT_TRUE(rasterizeGlyphAtlas("Terminal", c.heightPt, 0, 0, base)) << "no font";
        ASSERT_TRUE(rasterizeGlyphAtlas("Terminal", c.heightPt, 0, 0, large, c.ratio));
        ASSERT_TRUE(large.pixelRatio == 1 || large.pixelRatio == c.ratio) << large.pixelRatio;
        const float baseTex = static_cast<float>(base.textureSize);
        const float largeTex = static_cast<float>(large.textureSize);
        for (int ch : {' ', 'A', 'g', '|', '~'}) {
            const auto& g = base.glyphs[static_cast<size_t>(ch - 32)];
            const auto& h = large.glyphs[static_cast<size_t>(ch - 32)];
            const float baseAdvance = (g[2] - g[0]) * baseTex - 2.0f * static_cast<float>(base.spacingPx);
            const float largeAdvance = (h[2] - h[0]) * largeTex - 2.0f * static_cast<float>(large.spacingPx);
            EXPECT_FLOAT_EQ(largeAdvance, baseAdvance * static_cast<float>(large.pixelRatio)) << ch;
            EXPECT_FLOAT_EQ((h[3] - h[1]) * largeTex, (g[3] - g[1]) * baseTex * static_cast<float>(large.pixelRatio))
                << ch;
        }
    }
    // Terminus has a 24-pixel strike for the heads-up text's 12-pixel cells.
    GlyphAtlas hud;
    ASSERT_TRUE(rasterizeGlyphAtlas("Terminal", 8, 0, 0, hud, 2));
    if (hud.fontFile.find("Terminus") != std::string::npos) {
        EXPECT_EQ(hud.pixelRatio, 2);
    }
}

class TextFontGl : public ::testing::Test {
protected:
    static constexpr int kW = 640, kH = 120;
    void SetUp() override {
        if (!context_.create()) GTEST_SKIP() << "no OpenGL: " << context_.error();
        ASSERT_TRUE(device_.init()) << device_.errorText();
        ASSERT_TRUE(device_.resizeBackBuffer(kW, kH));
        device_.clear(true, 0xFF000000, true);
        ASSERT_EQ(font_.onDeviceCreated(&device_), 0);
        ASSERT_EQ(font_.onDeviceReset(), 0);
    }
    void TearDown() override {
        font_.onDeviceLost();
        font_.onDeviceDestroyed();
    }
    // Bounding box of pixels that differ from black: {minX, minY, maxX, maxY}, or minX = -1.
    std::array<int, 4> inkBox(uint32_t* anyColor = nullptr) {
        Image shot;
        EXPECT_TRUE(device_.readBackBuffer(shot));
        std::array<int, 4> box{-1, -1, -1, -1};
        for (int y = 0; y < shot.height; ++y)
            for (int x = 0; x < shot.width; ++x) {
                const size_t o = shot.offset(x, y);
                if (!shot.rgba[o] && !shot.rgba[o + 1] && !shot.rgba[o + 2]) continue;
                if (anyColor)
                    *anyColor = uint32_t(shot.rgba[o]) << 16 | uint32_t(shot.rgba[o + 1]) << 8 | shot.rgba[o + 2];
                if (box[0] < 0 || x < box[0]) box[0] = x;
                if (box[1] < 0 || y < box[1]) box[1] = y;
                box[2] = std::max(box[2], x);
                box[3] = std::max(box[3], y);
            }
        return box;
    }

    GlOffscreenContext context_;
    GlDevice device_;
    TextFont font_{"Terminal", 8, kFontDepthTest};
};

TEST_F(TextFontGl, MeasuringCountsWidestLineAndRows) {
    int w = 0, h = 0;
    ASSERT_EQ(font_.measureText("", &w, &h), 0);
    const int row = h;
    EXPECT_EQ(w, 0);
    EXPECT_GT(row, 8);
    ASSERT_EQ(font_.measureText("A", &w, &h), 0);
    const int a = w;
    EXPECT_GT(a, 3);
    ASSERT_EQ(font_.measureText("AAAA\nAA\n", &w, &h), 0);
    EXPECT_NEAR(w, 4 * a, 1);  // monospaced face
    EXPECT_EQ(h, 3 * row);
    // A blank advances like a glyph; control characters and bytes above 127 add nothing.
    ASSERT_EQ(font_.measureText("A A", &w, &h), 0);
    EXPECT_NEAR(w, 3 * a, 1);
    ASSERT_EQ(font_.measureText("A\tA\x80\xFF", &w, &h), 0);
    EXPECT_NEAR(w, 2 * a, 1);
    EXPECT_EQ(font_.measureText(nullptr, &w, &h), kTextFontFail);
    EXPECT_EQ(font_.measureText("A", nullptr, &h), kTextFontFail);
}

TEST_F(TextFontGl, DrawsInBatchesOfFiftyAndSkipsBlanks) {
    device_.resetStats();
    ASSERT_EQ(font_.drawText(2, 2, 0xFFFFFFFF, std::string(60, 'x').c_str()), 0);
    EXPECT_EQ(device_.drawCallCount(), 2);
    EXPECT_EQ(device_.vertexCount(), 60 * 6);
    device_.resetStats();
    font_.drawText(2, 30, 0xFFFFFFFF, std::string(50, 'x').c_str());
    EXPECT_EQ(device_.drawCallCount(), 1);
    device_.resetStats();
    font_.drawText(2, 30, 0xFFFFFFFF, "     \n  ");
    EXPECT_EQ(device_.drawCallCount(), 0);
    device_.resetStats();
    // 49 letters with blanks between them still fit one batch.
    std::string spaced;
    for (int i = 0; i < 49; ++i) spaced += "y ";
    font_.drawText(2, 60, 0xFFFFFFFF, spaced.c_str());
    EXPECT_EQ(device_.drawCallCount(), 1);
}

TEST_F(TextFontGl, TextLandsInsideItsMeasuredBoxInItsColour) {
    const char* text = "Celestrix 1.0\nMW";
    int w = 0, h = 0;
    font_.measureText(text, &w, &h);
    const RenderState before = device_.state();
    ASSERT_EQ(font_.drawText(100, 20, 0xFFFF8000, text), 0);
    EXPECT_TRUE(device_.state() == before);
    uint32_t color = 0;
    const auto box = inkBox(&color);
    ASSERT_GE(box[0], 0) << "nothing drawn";
    EXPECT_GE(box[0], 100);
    EXPECT_GE(box[1], 20);
    EXPECT_LE(box[2], 100 + w);
    EXPECT_LE(box[3], 20 + h);
    EXPECT_GT(box[3], 20 + h / 2);  // the second line is drawn below the first
    EXPECT_EQ(color & 0x0000FF, 0u);      // the blue of orange is 0
    EXPECT_GT((color >> 16) & 0xFF, 0u);  // red present
}

TEST_F(TextFontGl, CentringUsesTheFirstLineAndDepthTestCanHideText) {
    int w = 0, h = 0;
    font_.measureText("WWWW", &w, &h);
    font_.drawText(0, 0, 0xFFFFFFFF, "WWWW\nWWWWWWWWWWWWWWWWWWWW", kTextCenterX | kTextCenterY);
    const auto box = inkBox();
    ASSERT_GE(box[0], 0);
    const int expectedLeft = (kW - w) / 2;
    EXPECT_NEAR(box[0], expectedLeft, 3);  // both lines start at the first line's centred x
    EXPECT_GT(box[2], kW / 2 + w);
    EXPECT_NEAR(box[1], (kH - h) / 2, 4);

    // The font was created with the depth-test flag: text at z = 0.9 loses against depth 0.5.
    device_.clear(true, 0xFF000000, true, 0.5f);
    font_.drawText(10, 10, 0xFFFFFFFF, "hidden");
    EXPECT_EQ(inkBox()[0], -1);
    TextFont noDepth("Terminal", 8, 0);
    ASSERT_EQ(noDepth.onDeviceCreated(&device_), 0);
    ASSERT_EQ(noDepth.onDeviceReset(), 0);
    noDepth.drawText(10, 10, 0xFFFFFFFF, "shown");
    EXPECT_GE(inkBox()[0], 0);
    noDepth.onDeviceLost();
    noDepth.onDeviceDestroyed();
}

// On a device that draws screen space at twice the size, a font with the matching ratio measures
// as before and its ink covers twice the box in both directions.
TEST_F(TextFontGl, ScaledScreenSpaceDrawsTwiceTheSizeWithTheSameMeasure) {
    const char* text = "MW|g\nM";
    int w = 0, h = 0;
    font_.measureText(text, &w, &h);
    font_.drawText(20, 10, 0xFFFFFFFF, text);
    const auto one = inkBox();
    ASSERT_GE(one[0], 0);

    device_.clear(true, 0xFF000000, true);
    ASSERT_EQ(font_.setPixelRatio(2), 0);
    int w2 = 0, h2 = 0;
    font_.measureText(text, &w2, &h2);
    EXPECT_EQ(w2, w);
    EXPECT_EQ(h2, h);
    device_.setScreenScale(2);
    EXPECT_FLOAT_EQ(device_.screenSpaceWidth(), kW / 2.0f);
    font_.drawText(20, 10, 0xFFFFFFFF, text);
    device_.setScreenScale(1);
    const auto two = inkBox();
    ASSERT_GE(two[0], 0);
    EXPECT_NEAR(two[0], 2 * one[0], 2);
    EXPECT_NEAR(two[1], 2 * one[1], 2);
    EXPECT_NEAR(two[2] - two[0], 2 * (one[2] - one[0]), 3);
    EXPECT_NEAR(two[3] - two[1], 2 * (one[3] - one[1]), 3);
}

TEST_F(TextFontGl, LifecycleRefusesDrawingWithoutRestoredDevice) {
    TextFont fresh("Terminal", 14, 0);
    EXPECT_EQ(fresh.drawText(0, 0, 0xFFFFFFFF, "x"), kTextFontFail);
    ASSERT_EQ(fresh.onDeviceCreated(&device_), 0);
    EXPECT_EQ(fresh.drawText(0, 0, 0xFFFFFFFF, "x"), kTextFontFail);  // not restored yet
    ASSERT_EQ(fresh.onDeviceReset(), 0);
    EXPECT_EQ(fresh.drawText(0, 0, 0xFFFFFFFF, "x"), 0);
    fresh.onDeviceLost();
    EXPECT_EQ(fresh.drawText(0, 0, 0xFFFFFFFF, "x"), kTextFontFail);
    ASSERT_EQ(fresh.onDeviceReset(), 0);  // restored again after a reset
    EXPECT_EQ(fresh.drawText(0, 0, 0xFFFFFFFF, "x"), 0);
    fresh.onDeviceLost();
    fresh.onDeviceDestroyed();
    EXPECT_FALSE(fresh.texture().valid());
    EXPECT_EQ(fresh.drawText(0, 0, 0xFFFFFFFF, "x"), kTextFontFail);
    // A long face name is cut to 79 characters.
    TextFont longName(std::string(200, 'f').c_str(), 8);
    EXPECT_EQ(std::string(longName.faceName()).size(), 79u);
}

TEST_F(TextFontGl, LaunchScreenShowsTextWithoutItsPicture) {
    LaunchScreen screen(true);
    ASSERT_TRUE(screen.create(device_, "/nonexistent/shuttle_start.bmp"));
    EXPECT_FALSE(screen.hasPicture());
    screen.draw(device_, kW, kH);
    Image shot;
    ASSERT_TRUE(device_.readBackBuffer(shot));
    int grey = 0, dark = 0;
    for (size_t i = 0; i < shot.rgba.size(); i += 4) {
        grey += shot.rgba[i] == 0xC0 && shot.rgba[i + 1] == 0xC0 && shot.rgba[i + 2] == 0xC0;
        dark += shot.rgba[i] == 68 && shot.rgba[i + 1] == 68 && shot.rgba[i + 2] == 68;
    }
    EXPECT_GT(grey, kW * kH / 2);
    EXPECT_GT(dark, 20);
    EXPECT_EQ(LaunchScreen::launchText(false).rfind("Celestrix is launching in replay mode ... Please wait.", 0), 0u);
    screen.release();
}

TEST_F(TextFontGl, LaunchScreenPlacesThePictureScaledAndCut) {
    // 100 x 50 picture: left half red, right half green, drawn for a 200 x 100 screen: scaled to
    // 200 x 100 and placed at (2, 5) with width 196 and height 100.
    Image picture;
    picture.resize(100, 50);
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 100; ++x) {
            const size_t o = picture.offset(x, y);
            picture.rgba[o] = x < 50 ? 255 : 0;
            picture.rgba[o + 1] = x < 50 ? 0 : 255;
            picture.rgba[o + 3] = 255;
        }
    char dir[] = "/tmp/launch_XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const std::string path = std::string(dir) + "/shuttle_start.bmp";
    ASSERT_TRUE(writeBmp32(path, picture));
    LaunchScreen screen(false);
    ASSERT_TRUE(screen.create(device_, path));
    ASSERT_TRUE(screen.hasPicture());
    screen.draw(device_, 200, 100);
    Image shot;
    ASSERT_TRUE(device_.readBackBuffer(shot));
    const auto rgb = [&](int x, int y) {
        const size_t o = shot.offset(x, y);
        return std::array<int, 3>{shot.rgba[o], shot.rgba[o + 1], shot.rgba[o + 2]};
    };
    using C = std::array<int, 3>;
    EXPECT_EQ(rgb(1, 95), (C{0xC0, 0xC0, 0xC0}));   // left of the picture: window background
    EXPECT_EQ(rgb(50, 4), (C{0xC0, 0xC0, 0xC0}));   // above it
    EXPECT_EQ(rgb(3, 95), (C{255, 0, 0}));
    EXPECT_EQ(rgb(98, 95), (C{255, 0, 0}));         // the halves meet at 2 + 100
    EXPECT_EQ(rgb(106, 95), (C{0, 255, 0}));
    EXPECT_EQ(rgb(197, 95), (C{0, 255, 0}));
    EXPECT_EQ(rgb(199, 95), (C{0xC0, 0xC0, 0xC0}));  // cut at 2 + 196
    screen.release();
}

}  // namespace
