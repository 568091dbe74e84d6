// The whole simulator rendering offscreen: snapshots of the default configuration show the
// heads-up text on its panel, the crosshair on request, and never overwrite each other.
#include <gtest/gtest.h>

#include "bmp_file.h"
#include "simulator_runs.h"

using testdata::TempDataDir;

namespace {

struct Rgb {
    int r, g, b;
};

Rgb pixel(const Image& image, int x, int y) {
    const uint8_t* p = &image.rgba[image.offset(x, y)];
    return {p[0], p[1], p[2]};
}

// Pixels in the rectangle whose every channel is at least `level`.
int brightPixels(const Image& image, int x0, int y0, int x1, int y1, int level) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            Rgb p = pixel(image, x, y);
            n += p.r >= level && p.g >= level && p.b >= level;
        }
    return n;
}

}  // namespace

TEST(HeadlessRun, SnapshotsShowTheHeadsUpTextAndCrosshair) {
    TempDataDir dir;
    e2e::copyShippedData(dir.path());
    // Snapshot at frame 2; crosshair on at 3; a second snapshot at 5.
    testdata::writeText(dir / "script.txt",
                        "2 key F7 down\n3 key F7 up\n3 key F3 down\n3 key F3 up\n5 key F7 down\n6 key F7 up\n");
    testrun::RunResult r = e2e::runCorvane(dir.path(), {"--headless", "--windowed", "--size", "800x600", "--fixed-dt",
                                                         "0.02", "--frames", "8", "--input", dir / "script.txt"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string shots = dir / "Screenshots/My Screenshots/";
    ASSERT_EQ(testdata::listFiles(shots),
              (std::vector<std::string>{"My Screenshots_0.bmp", "My Screenshots_1.bmp"}));

    Image first, second;
    ASSERT_TRUE(readBmp(shots + "My Screenshots_0.bmp", first));
    ASSERT_TRUE(readBmp(shots + "My Screenshots_1.bmp", second));
    ASSERT_EQ(first.width, 800);
    ASSERT_EQ(first.height, 600);

    // The first text line ("MISSION TIME ... ENERGY") is white text on the translucent panel.
    EXPECT_GT(brightPixels(first, 10, 10, 460, 30, 200), 40);
    // The panel lifts the black sky behind the text block.
    Rgb panel = pixel(first, 5, 300);
    EXPECT_GT(panel.r + panel.g + panel.b, 30);
    // No crosshair yet; in the second snapshot the bullseye's rings cross the screen centre row.
    auto greenish = [](const Image& image) {
        int n = 0;
        for (int x = 400 - 64; x < 400 + 64; ++x) {
            Rgb p = pixel(image, x, 300);
            n += p.g > 100 && p.g > p.r + 30;
        }
        return n;
    };
    EXPECT_EQ(greenish(first), 0);
    EXPECT_GT(greenish(second), 3);
}
