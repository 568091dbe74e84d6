// Draws the heads-up display elements with the delivered icons into an off-screen back buffer
// and checks where they appear and that each one follows its display flag. Skipped without GL.
#include <gtest/gtest.h>

#include <string>

#include "destination_marker.h"
#include "gl_offscreen_context.h"
#include "hud_display.h"
#include "image_load.h"
#include "test_data_dir.h"
#include "text_font.h"

namespace {

constexpr int kWidthPx = 320;
constexpr int kHeightPx = 248;
constexpr uint32_t kClearArgb = 0xFF000000;
const std::string kDataDir = CELESTRIX_DATA_SOURCE;

int channel(uint32_t argb, int shift) { return static_cast<int>((argb >> shift) & 0xFF); }

class HudDisplayGl : public ::testing::Test {
protected:
    void SetUp() override {
        if (!context_.create()) GTEST_SKIP() << "no OpenGL: " << context_.error();
        ASSERT_TRUE(device_.init()) << device_.errorText();
        ASSERT_TRUE(device_.resizeBackBuffer(kWidthPx, kHeightPx));
        std::optional<std::string> failed = createHudIcons(icons_, kDataDir, kWidthPx, kHeightPx);
        ASSERT_FALSE(failed.has_value()) << *failed;
        state_.dataDirectory = kDataDir;
        state_.objects.resize(2);
        state_.observer().massKg = 1000;
        device_.clear(true, kClearArgb, true);
    }
    void TearDown() override {
        icons_.release();
        marker_.release();
    }
    Image shot() {
        Image image;
        EXPECT_TRUE(device_.readBackBuffer(image));
        return image;
    }
    // Pixels that differ from the clear colour in a rectangle.
    int changedPixels(const Image& image, int x0, int y0, int x1, int y1) {
        int changed = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) changed += pixelArgb(image, x, y) != kClearArgb ? 1 : 0;
        return changed;
    }

    GlOffscreenContext context_;
    GlDevice device_;
    HudIcons icons_;
    DestinationMarker marker_;
    SimState state_;
};

}  // namespace

TEST(HudIconsSetUp, MissingIconGivesItsPath) {
    testdata::TempDataDir dir;
    HudIcons icons;
    std::optional<std::string> failed = createHudIcons(icons, dir.path(), 1024, 768);
    ASSERT_TRUE(failed.has_value());
    EXPECT_EQ(*failed, dir.path() + "Media/Icons/background32.bmp");
    EXPECT_FALSE(icons.background.loaded());
}

TEST_F(HudDisplayGl, FlashesCoverTheWholeBackBuffer) {
    HudFlashState flashes;
    drawFlashes(device_, icons_, flashes);  // nothing visible
    EXPECT_EQ(changedPixels(shot(), 0, 0, kWidthPx, kHeightPx), 0);

    flashes.jumpVisible = true;
    drawFlashes(device_, icons_, flashes);
    Image image = shot();
    EXPECT_EQ(changedPixels(image, 0, 0, kWidthPx, kHeightPx), kWidthPx * kHeightPx);
    // red32 (255, 30, 30) at alpha 0x32 over black.
    for (auto [x, y] : {std::pair{0, 0}, {kWidthPx - 1, kHeightPx - 1}, {kWidthPx / 2, 7}}) {
        uint32_t p = pixelArgb(image, x, y);
        EXPECT_NEAR(channel(p, 16), 50, 2);
        EXPECT_NEAR(channel(p, 8), 6, 2);
        EXPECT_NEAR(channel(p, 0), 6, 2);
    }
}

TEST_F(HudDisplayGl, CrosshairFollowsItsLatch) {
    drawCrosshair(device_, icons_, state_, kWidthPx, kHeightPx);
    EXPECT_EQ(changedPixels(shot(), 0, 0, kWidthPx, kHeightPx), 0);

    state_.latches[kCrosshairShown] = 1;
    drawCrosshair(device_, icons_, state_, kWidthPx, kHeightPx);
    Image image = shot();
    const int x0 = kWidthPx / 2 - 64, y0 = kHeightPx / 2 - 64;
    // Everything outside the 128 x 128 square stays untouched; the panel fills the square.
    EXPECT_EQ(changedPixels(image, 0, 0, kWidthPx, kHeightPx),
              changedPixels(image, x0, y0, x0 + 128, y0 + 128));
    EXPECT_EQ(changedPixels(image, x0, y0, x0 + 128, y0 + 128), 128 * 128);
    // The panel colour (70, 95, 150) at alpha 0x4B in a corner of the square.
    uint32_t corner = pixelArgb(image, x0 + 1, y0 + 1);
    EXPECT_NEAR(channel(corner, 16), 21, 2);
    EXPECT_NEAR(channel(corner, 0), 44, 2);
}

TEST_F(HudDisplayGl, TextBlockOnlyInLiveModeWhileShown) {
    TextFont font0("Terminal", 8, kFontDepthTest);
    ASSERT_EQ(font0.onDeviceCreated(&device_), 0);
    ASSERT_EQ(font0.onDeviceReset(), 0);
    HudText text;
    state_.objects.back().velocityKmPerS = {1, 0, 0};
    composeHud(text, state_);
    int widthPx = 0, heightPx = 0;
    font0.measureText(joinHudLines(text).c_str(), &widthPx, &heightPx);
    ASSERT_GT(widthPx, 0);

    state_.latches[kHudHidden] = 1;
    drawHudBlock(device_, icons_, font0, text, state_);
    EXPECT_EQ(changedPixels(shot(), 0, 0, kWidthPx, kHeightPx), 0);
    state_.latches[kHudHidden] = 0;
    state_.runMode = 0;  // replay: never drawn
    drawHudBlock(device_, icons_, font0, text, state_);
    EXPECT_EQ(changedPixels(shot(), 0, 0, kWidthPx, kHeightPx), 0);

    state_.runMode = 1;
    drawHudBlock(device_, icons_, font0, text, state_);
    Image image = shot();
    // The panel starts at the top-left corner; white text glyphs appear from (10, 10).
    EXPECT_NE(pixelArgb(image, 0, 0), kClearArgb);
    int white = 0;
    for (int y = 10; y < kHeightPx; ++y)
        for (int x = 10; x < kWidthPx; ++x) white += channel(pixelArgb(image, x, y), 8) > 200 ? 1 : 0;
    EXPECT_GT(white, 50);
    font0.onDeviceLost();
    font0.onDeviceDestroyed();
}

TEST_F(HudDisplayGl, DestinationMarkerAheadAlongTheMotion) {
    device_.setProjection(perspectiveFovLH(0.7853982f, static_cast<float>(kWidthPx) / kHeightPx,
                                           0.1f, 10000.0f));
    state_.observer().velocityKmPerS = {0, 0, 7};  // straight ahead of the identity camera
    ASSERT_FALSE(marker_.draw(device_, state_).has_value());
    Image image = shot();
    EXPECT_NE(pixelArgb(image, kWidthPx / 2, kHeightPx / 2), kClearArgb);
    EXPECT_EQ(changedPixels(image, 0, 0, kWidthPx / 4, kHeightPx), 0);

    device_.clear(true, kClearArgb, true);
    state_.latches[kDestinationHidden] = 1;
    ASSERT_FALSE(marker_.draw(device_, state_).has_value());
    EXPECT_EQ(changedPixels(shot(), 0, 0, kWidthPx, kHeightPx), 0);

    // Moving backwards puts the marker behind the camera: nothing on screen.
    state_.latches[kDestinationHidden] = 0;
    state_.observer().velocityKmPerS = {0, 0, -7};
    ASSERT_FALSE(marker_.draw(device_, state_).has_value());
    EXPECT_EQ(changedPixels(shot(), 0, 0, kWidthPx, kHeightPx), 0);

    // A missing icon file is reported by its path.
    DestinationMarker other;
    testdata::TempDataDir empty;
    state_.dataDirectory = empty.path();
    std::optional<std::string> failed = other.draw(device_, state_);
    ASSERT_TRUE(failed.has_value());
    EXPECT_EQ(*failed, empty.path() + "Media/Icons/destination64.bmp");
}
