// The whole simulator rendering offscreen: snapshots of the default configuration show the
// heads-up text on its panel, the crosshair on request, and never overwrite each other.
#include <gtest/gtest.h>

#include "bmp_file.h"
#include "gui_components.h"
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
    testrun::RunResult r = e2e::runScriptedHeadless(dir.path(), dir / "script.txt", "800x600", 8);
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

namespace {

// Rows of the snapshot with at least four bright pixels between x0 and x1, grouped into bands of
// rows at most three apart: one band per drawn text line.
std::vector<std::pair<int, int>> textBands(const Image& image, int x0, int x1) {
    std::vector<std::pair<int, int>> bands;
    for (int y = 0; y < image.height; ++y) {
        if (brightPixels(image, x0, y, x1, y + 1, 200) < 4) continue;
        if (!bands.empty() && bands.back().second >= y - 3)
            bands.back().second = y;
        else
            bands.emplace_back(y, y);
    }
    return bands;
}

std::vector<Image> snapshotsOf(const std::string& dataDir) {
    std::vector<Image> images;
    const std::string shots = dataDir + "Screenshots/My Screenshots/";
    for (const std::string& name : testdata::listFiles(shots)) {
        Image image;
        if (readBmp(shots + name, image)) images.push_back(std::move(image));
    }
    return images;
}

}  // namespace

TEST(HeadlessRun, HelpPageAndHeadsUpTextFitA720RowWindow) {
    TempDataDir dir;
    e2e::copyShippedData(dir.path());
    // First snapshot: the heads-up text of the default configuration (11 objects: 23 lines).
    // Second: the keyboard help alone (heads-up display hidden), taken after the flash is over.
    testdata::writeText(dir / "script.txt",
                        "2 key F7 down\n3 key F7 up\n3 key F2 down\n3 key F2 up\n3 key F1 down\n3 key F1 up\n"
                        "40 key F7 down\n41 key F7 up\n");
    testrun::RunResult r = e2e::runScriptedHeadless(dir.path(), dir / "script.txt", "1280x720", 42);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::vector<Image> shots = snapshotsOf(dir.path());
    ASSERT_EQ(shots.size(), 2u);

    // Every line of the heads-up text starts at x = 10; all 23 are on screen, the last one too.
    std::vector<std::pair<int, int>> hud = textBands(shots[0], 10, 40);
    EXPECT_EQ(hud.size(), 23u);
    ASSERT_FALSE(hud.empty());
    EXPECT_LT(hud.back().second, 719);

    // The help page's first line ("KEYBOARD ... FUNCTION") lies fully inside the window: its
    // glyphs fill the top rows of the screen, above the first empty row.
    std::vector<std::pair<int, int>> help = textBands(shots[1], 10, 60);
    ASSERT_FALSE(help.empty());
    EXPECT_GE(help.front().first, 1);
    EXPECT_LE(help.front().second, 11);
    EXPECT_GT(brightPixels(shots[1], 10, 1, 60, 11, 200), 30);
}

TEST(HeadlessRun, ReplayStoresOneSnapshotPerF7AndItsControlsSwitchTheCrosshair) {
    TempDataDir dir;
    e2e::copyShippedData(dir.path());
    testdata::writeText(dir / "record.txt", "0 key F5 down\n0 key F5 up\n");
    ASSERT_EQ(e2e::runCorvane(dir.path(), {"--no-render", "--fixed-dt", "0.02", "--frames", "20", "--input",
                                           dir / "record.txt"}).exitCode,
              0);
    // The crosshair button of the replay layout on an 800-pixel screen.
    std::optional<std::vector<GuiComponentSpec>> specs = readGuiSpecFile(dir / "vcrspecs.cfg");
    ASSERT_TRUE(specs);
    std::string crosshair;
    for (const GuiComponentSpec& spec : *specs)
        for (size_t j = 0; j < spec.iconFiles.size(); ++j)
            if (spec.iconFiles[j] == "Media/Icons/gui_crosshair_off.bmp")
                crosshair = std::to_string(800 + static_cast<int>(spec.iconPositions[j].x) + spec.xOffset + 16) + " " +
                            std::to_string(static_cast<int>(spec.iconPositions[j].y) + spec.yOffset + 16);
    ASSERT_FALSE(crosshair.empty());
    testdata::writeText(dir / "replay.txt", "2 key F7 down\n3 key F7 up\n4 click " + crosshair +
                                                "\n6 key F7 down\n7 key F7 up\n");
    testrun::RunResult r = e2e::runScriptedHeadless(dir.path(), dir / "replay.txt", "800x600", 10, "0");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::vector<Image> shots = snapshotsOf(dir.path());
    ASSERT_EQ(shots.size(), 2u);  // one per press
    auto greenish = [](const Image& image) {
        int n = 0;
        for (int x = 400 - 64; x < 400 + 64; ++x) {
            Rgb p = pixel(image, x, 300);
            n += p.g > 100 && p.g > p.r + 30;
        }
        return n;
    };
    EXPECT_EQ(greenish(shots[0]), 0);
    EXPECT_GT(greenish(shots[1]), 3);
}
