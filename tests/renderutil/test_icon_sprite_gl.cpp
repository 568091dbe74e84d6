// Draws icon sprites through the device into an off-screen back buffer and checks the pixels:
// colour key, translation, scaling, modulate colour and blending. Skipped where no GL exists.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "bmp_file.h"
#include "gl_device.h"
#include "gl_offscreen_context.h"
#include "icon_sprite.h"
#include "image_load.h"
#include "test_data_dir.h"

namespace {

constexpr int kSizePx = 64;
constexpr int kChannelTol = 2;  // blending and filtering round to one or two units

// A 32 x 32 icon: left half black (transparent after keying), right half white.
std::string writeHalfIcon(const testdata::TempDataDir& dir) {
    Image icon;
    icon.resize(32, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            size_t o = icon.offset(x, y);
            uint8_t c = x < 16 ? 0 : 255;
            icon.rgba[o] = icon.rgba[o + 1] = icon.rgba[o + 2] = c;
            icon.rgba[o + 3] = 255;
        }
    std::string path = dir / "half.bmp";
    EXPECT_TRUE(writeBmp32(path, icon));
    return path;
}

class IconSpriteGl : public ::testing::Test {
protected:
    void SetUp() override {
        if (!context_.create()) GTEST_SKIP() << "no OpenGL: " << context_.error();
        ASSERT_TRUE(device_.init()) << device_.errorText();
        ASSERT_TRUE(device_.resizeBackBuffer(kSizePx, kSizePx));
    }
    uint32_t pixel(int x, int y) {
        Image shot;
        EXPECT_TRUE(device_.readBackBuffer(shot));
        return pixelArgb(shot, x, y);
    }

    GlOffscreenContext context_;
    GlDevice device_;
};

void expectArgbNear(uint32_t actual, uint32_t expected, int line) {
    SCOPED_TRACE(line);
    for (int shift = 0; shift <= 16; shift += 8) {
        int a = static_cast<int>((actual >> shift) & 0xFF);
        int e = static_cast<int>((expected >> shift) & 0xFF);
        EXPECT_NEAR(a, e, kChannelTol) << std::hex << "actual 0x" << actual << " expected 0x" << expected;
    }
}

}  // namespace

TEST_F(IconSpriteGl, KeyedIconScaledTranslatedAndModulated) {
    testdata::TempDataDir dir;
    const std::string path = writeHalfIcon(dir);
    IconSprite icon;
    ASSERT_TRUE(icon.loadIcon(path));
    EXPECT_EQ(icon.textureWidth(), 32);

    device_.clear(true, 0xFF0000FF, true);  // blue
    icon.setTranslation(16, 8);
    ASSERT_TRUE(icon.drawIcon(device_));
    expectArgbNear(pixel(40, 20), 0xFFFFFFFF, __LINE__);  // white half, at x 32..47
    expectArgbNear(pixel(20, 20), 0xFF0000FF, __LINE__);  // black half keyed out: blue shows
    expectArgbNear(pixel(50, 20), 0xFF0000FF, __LINE__);  // right of the icon
    expectArgbNear(pixel(40, 4), 0xFF0000FF, __LINE__);   // above it

    // Half-transparent red modulation over blue, scaled 0.5 into the top-left corner.
    device_.clear(true, 0xFF0000FF, true);
    icon.setTranslation(0, 0);
    icon.setScaling(0.5f, 0.5f);
    icon.setModulateColour(0x80FF0000);
    ASSERT_TRUE(icon.drawIcon(device_));
    expectArgbNear(pixel(12, 4), 0xFF80007F, __LINE__);   // 0.5 red + 0.5 blue
    expectArgbNear(pixel(20, 4), 0xFF0000FF, __LINE__);   // beyond the 16-pixel icon

    // Drawing leaves the device's state as it was.
    RenderState before = device_.state();
    icon.drawIcon(device_);
    EXPECT_TRUE(device_.state() == before);

    // An empty sprite draws nothing and says so.
    IconSprite empty;
    EXPECT_FALSE(empty.drawIcon(device_));
}

// A texture (re)loaded between two draws must be the one drawn next: the device has to bind it
// again even though the sprite, and so the texture object, is the same.
TEST_F(IconSpriteGl, ReloadWithAnotherKeyIsDrawn) {
    testdata::TempDataDir dir;
    IconSprite icon;
    ASSERT_TRUE(icon.loadIcon(writeHalfIcon(dir)));
    device_.clear(true, 0xFF0000FF, true);
    ASSERT_TRUE(icon.drawIcon(device_));
    expectArgbNear(pixel(20, 4), 0xFFFFFFFF, __LINE__);

    // Re-keying with white reloads the file: now the white half vanishes, the black half shows.
    ASSERT_TRUE(icon.setColourKey(0xFFFFFFFF));
    device_.clear(true, 0xFF0000FF, true);
    ASSERT_TRUE(icon.drawIcon(device_));
    expectArgbNear(pixel(4, 4), 0xFF000000, __LINE__);
    expectArgbNear(pixel(20, 4), 0xFF0000FF, __LINE__);
}
