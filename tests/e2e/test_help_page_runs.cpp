// The keyboard help page in a headless picture at 1280 x 720: drawn on its own backdrop, it looks
// the same over the start view (the heads-up table, the markers) as over Earth turned to fill the
// middle of the screen, so nothing of the scene or of the heads-up table shows between its glyphs;
// and the page shows both its own keys and the added ones.
#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "bmp_file.h"
#include "help_page.h"
#include "simulator_runs.h"

using testdata::TempDataDir;

TEST(HelpPageRuns, ThePageReadsTheSameOverTheTableAndOverEarth) {
    TempDataDir dir;
    e2e::copyShippedData(dir.path());
    // F1 at once; a snapshot over the start view; Tab to Earth (the nearest), Y turns to it; a
    // second snapshot once the first one's flash is over.
    const std::string script =
        "1 key F1 down\n1 key F1 up\n5 key F7 down\n6 key F7 up\n8 key Tab down\n8 key Tab up\n"
        "10 key Y down\n10 key Y up\n45 key F7 down\n46 key F7 up\n50 key F1 down\n50 key F1 up\n"
        "80 key F7 down\n81 key F7 up\n";
    testdata::writeText(dir / "script.txt", script);
    testrun::RunResult r = e2e::runScriptedHeadless(dir.path(), dir / "script.txt", "1280x720", 85);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string shots = dir / "Screenshots/My Screenshots/";
    Image overTable, overEarth, earth;
    ASSERT_TRUE(readBmp(shots + "My Screenshots_0.bmp", overTable));
    ASSERT_TRUE(readBmp(shots + "My Screenshots_1.bmp", overEarth));
    ASSERT_TRUE(readBmp(shots + "My Screenshots_2.bmp", earth));
    ASSERT_EQ(overTable.width, 1280);
    ASSERT_EQ(overTable.height, 720);

    // Without the page, Earth's disc fills the middle of the screen, where the page stood (its
    // night side towards the ship, its lit limb on the right).
    auto colour = [](const Image& im, int x, int y) {
        const uint8_t* p = &im.rgba[im.offset(x, y)];
        return (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2];
    };
    int earthPixels = 0;
    for (int y = 300; y < 500; ++y)
        for (int x = 760; x < 860; ++x) earthPixels += (colour(earth, x, y) & 0xC0C0C0) != 0;
    EXPECT_GT(earthPixels, 500);

    // The page and its additions: both pictures agree on every pixel of the backdrop, whose
    // colours are the glyphs' white and a few shades of the backdrop.
    int differing = 0, white = 0;
    std::set<uint32_t> shades;
    for (int y = 0; y < 720; ++y)
        for (int x = 0; x < 930; ++x) {
            const uint32_t a = colour(overTable, x, y), b = colour(overEarth, x, y);
            differing += a != b;
            if (a == 0xFFFFFF)
                ++white;
            else
                shades.insert(a);
        }
    EXPECT_EQ(differing, 0);
    EXPECT_GT(white, 5000);
    EXPECT_LE(shades.size(), 3u);
}

TEST(HelpPageRuns, AdditionsGoBelowWhenThereIsRoomElseBeside) {
    struct Case {
        int heightPx;
        bool below;
    };
    // A page of 444 x 708 and additions of 444 x 240 (the live texts in the 12-pixel font).
    for (const Case& c : {Case{720, false}, Case{1080, true}, Case{1440, true}}) {
        const HelpPageLayout l = layoutHelpPage(444, 708, 444, 240, 1920, c.heightPx);
        EXPECT_EQ(l.additionsY > l.pageY + 700, c.below) << c.heightPx;
        EXPECT_EQ(l.additionsX > 400, !c.below) << c.heightPx;
        // Everything on screen, on the backdrop.
        EXPECT_GE(l.pageY, 0) << c.heightPx;
        EXPECT_LE(l.backdrop.y1, c.heightPx + 1) << c.heightPx;
        EXPECT_LE(l.backdrop.y0, l.pageY) << c.heightPx;
        EXPECT_GE(l.backdrop.x1, l.additionsX + 444) << c.heightPx;
    }
}
