// Large screens and exported frames in whole runs: at 2560 x 1440 every text and control is
// drawn at twice its size, laid out as at 1280 x 720, and clicks find the scaled buttons;
// --ui-scale overrides the choice; --export-overlays leaves layers out of the exported pictures
// only, never out of the screen.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <stdexcept>

#include "bmp_file.h"
#include "gui_components.h"
#include "image_load.h"
#include "simulator_runs.h"

using testdata::readText;
using testdata::TempDataDir;
using testdata::writeText;

namespace {

bool bright(const Image& image, int x, int y, int level = 200) {
    const uint8_t* p = &image.rgba[image.offset(x, y)];
    return p[0] >= level && p[1] >= level && p[2] >= level;
}

// First rows of the text lines drawn between x0 and x1: rows with at least `minPixels` bright
// pixels, grouped into lines when they are at most `gap` rows apart.
std::vector<int> lineStarts(const Image& image, int x0, int x1, int minPixels, int gap) {
    std::vector<int> starts;
    int last = -1000;
    for (int y = 0; y < image.height; ++y) {
        int n = 0;
        for (int x = x0; x < x1; ++x) n += bright(image, x, y);
        if (n < minPixels) continue;
        if (y - last > gap) starts.push_back(y);
        last = y;
    }
    return starts;
}

int brightPixels(const Image& image, int x0, int y0, int x1, int y1, int level = 200) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) n += bright(image, x, y, level);
    return n;
}

// Pixels that differ between two pictures of one size inside a rectangle.
int differing(const Image& a, const Image& b, int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            n += std::memcmp(&a.rgba[a.offset(x, y)], &b.rgba[b.offset(x, y)], 3) != 0;
    return n;
}

Image onlySnapshot(const std::string& dataDir) {
    const std::string shots = dataDir + "Screenshots/My Screenshots/";
    std::vector<std::string> names = testdata::listFiles(shots);
    Image image;
    if (names.size() != 1 || !readBmp(shots + names[0], image)) throw std::runtime_error("no single snapshot");
    return image;
}

// A snapshot of the heads-up text (F7 at frame 2) and one of the help page with the heads-up
// text hidden, at one size: a ship and a massless marker in the dark sky, so that only the texts
// and the controls are bright.
std::pair<Image, Image> hudAndHelp(const std::string& size, std::vector<std::string> extra = {}) {
    TempDataDir dir;
    e2e::copyShippedData(dir.path());
    testdata::writeLiveDataDir(dir.path(), {{"Marker", testdata::masslessMarker()}, {"Ship", testdata::minimalObserver()}});
    writeText(dir / "script.txt", "2 key F7 down\n3 key F7 up\n3 key F2 down\n3 key F2 up\n3 key F1 down\n"
                                  "3 key F1 up\n40 key F7 down\n41 key F7 up\n");
    std::vector<std::string> options = {"--headless", "--windowed", "--size", size, "--fixed-dt", "0.02",
                                        "--frames", "42", "--input", dir / "script.txt"};
    options.insert(options.end(), extra.begin(), extra.end());
    testrun::RunResult r = e2e::runCorvane(dir.path(), options);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    const std::string shots = dir / "Screenshots/Shots/";
    std::vector<std::string> names = testdata::listFiles(shots);
    std::pair<Image, Image> images;
    if (names.size() != 2 || !readBmp(shots + names[0], images.first) || !readBmp(shots + names[1], images.second))
        ADD_FAILURE() << "expected two snapshots at " << size;
    return images;
}

}  // namespace

TEST(LargeScreens, At2560TheHeadsUpTableHelpAndButtonsAreTwiceTheSizeAndOnScreen) {
    auto [hud1, help1] = hudAndHelp("1280x720");
    auto [hud2, help2] = hudAndHelp("2560x1440");
    ASSERT_EQ(hud2.width, 2560);

    // The heads-up table: the same lines, each starting twice as far down (its rows are twice as
    // tall), the last one on screen.
    std::vector<int> rows1 = lineStarts(hud1, 10, 40, 4, 5), rows2 = lineStarts(hud2, 20, 80, 8, 10);
    ASSERT_EQ(rows1.size(), 14u);
    ASSERT_EQ(rows2.size(), rows1.size()) << ::testing::PrintToString(rows1) << " " << ::testing::PrintToString(rows2);
    // The larger strike's glyphs are drawn anew, not magnified: their first lit row may differ by
    // a few rows from twice the small one's (a quarter of a row at most).
    for (size_t i = 0; i < rows1.size(); ++i) EXPECT_NEAR(rows2[i], 2 * rows1[i], 6) << "line " << i;
    EXPECT_NEAR(rows2.back() - rows2.front(), 2 * (rows1.back() - rows1.front()), 6);
    EXPECT_LT(rows2.back() + 2 * (rows1[1] - rows1[0]), 1440);

    // The help page, likewise, from its first line to its last.
    std::vector<int> help1Rows = lineStarts(help1, 10, 60, 4, 5), help2Rows = lineStarts(help2, 20, 120, 8, 10);
    ASSERT_GT(help1Rows.size(), 20u);
    ASSERT_EQ(help2Rows.size(), help1Rows.size());
    EXPECT_NEAR(help2Rows.front(), 2 * help1Rows.front(), 6);
    EXPECT_NEAR(help2Rows.back(), 2 * help1Rows.back(), 6);
    EXPECT_LT(help2Rows.back(), 1440 - 24);

    // The buttons along the right edge: four times the lit area (twice in each direction).
    const int lit1 = brightPixels(hud1, 1280 - 200, 0, 1280, 440, 80);
    const int lit2 = brightPixels(hud2, 2560 - 400, 0, 2560, 880, 80);
    ASSERT_GT(lit1, 100);
    EXPECT_NEAR(lit2, 4 * lit1, 0.1 * 4 * lit1);

    // --ui-scale 1 keeps them at their own size on the large screen.
    auto [hudOne, helpOne] = hudAndHelp("2560x1440", {"--ui-scale", "1"});
    std::vector<int> rowsOne = lineStarts(hudOne, 10, 40, 4, 5);
    ASSERT_EQ(rowsOne.size(), rows1.size());
    EXPECT_EQ(rowsOne, rows1);
}

TEST(LargeScreens, ClicksFindTheScaledButtons) {
    // Pitch down by its button for five frames, on screens of either size and scale: the same
    // flight each time.
    struct Case {
        const char* size;
        const char* scaleOption;
        int layoutWidth, scale;
    };
    std::vector<std::string> ships;
    for (Case c : {Case{"1280x720", nullptr, 1280, 1}, Case{"2560x1440", nullptr, 1280, 2},
                   Case{"2560x1440", "1", 2560, 1}, Case{"1920x1080", "3", 640, 3}}) {
        TempDataDir dir;
        e2e::copyShippedData(dir.path());
        const std::string pitch = e2e::buttonCentre("pitch_down", c.layoutWidth, c.scale);
        writeText(dir / "script.txt", "0 click " + pitch + "\n5 click " + pitch + "\n");
        std::vector<std::string> options = {"--no-render", "--size", c.size, "--fixed-dt", "0.02",
                                            "--frames", "10", "--input", dir / "script.txt"};
        if (c.scaleOption) options.insert(options.end(), {"--ui-scale", c.scaleOption});
        testrun::RunResult r = e2e::runCorvane(dir.path(), options);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        ships.push_back(readText(dir / "Objects/Observer.cfg"));
        EXPECT_EQ(ships.back(), ships.front()) << c.size << " at scale " << c.scale;
    }
    EXPECT_NE(ships.front(), readText(std::string(CELESTRIX_DATA_SOURCE) + "Objects/Observer.cfg"));
}

TEST(ExportOverlays, ExportedFramesLeaveLayersOutButTheScreenKeepsThem) {
    // Frame 1 is exported, and F7 at frame 2 stores what the screen showed after frame 1.
    std::map<std::string, std::pair<Image, Image>> runs;  // kept layers: exported frame, snapshot
    for (const char* kept : {"all", "hud", "none"}) {
        TempDataDir dir;
        e2e::copyShippedData(dir.path());
        writeText(dir / "script.txt", "2 key F7 down\n3 key F7 up\n");
        testrun::RunResult r = e2e::runCorvane(
            dir.path(), {"--headless", "--windowed", "--size", "640x360", "--fixed-dt", "0.02", "--frames", "3",
                         "--input", dir / "script.txt", "--export", dir / "frames", "--export-overlays", kept});
        ASSERT_EQ(r.exitCode, 0) << r.err;
        std::optional<Image> frame = loadImageFile(dir / "frames/frame_000001.png");
        ASSERT_TRUE(frame) << kept;
        runs[kept] = {*frame, onlySnapshot(dir.path())};
    }
    const Image& all = runs["all"].first;
    const Image& hud = runs["hud"].first;
    const Image& none = runs["none"].first;
    // The screen showed everything in every run, as the whole exported frame does.
    for (const auto& [kept, pictures] : runs)
        EXPECT_EQ(differing(pictures.second, all, 0, 0, 640, 360), 0) << kept;
    // hud: the controls on the right are gone, everything left of them stays.
    EXPECT_GT(differing(hud, all, 456, 0, 640, 360), 1000);
    EXPECT_EQ(differing(hud, all, 0, 0, 440, 360), 0);
    // none: the heads-up text is gone too, and with it every bright text pixel of its rows.
    EXPECT_GT(differing(none, hud, 0, 0, 400, 300), 1000);
    EXPECT_GT(brightPixels(hud, 10, 10, 40, 300), 100);
    EXPECT_LT(brightPixels(none, 10, 10, 40, 300), 10);
}
