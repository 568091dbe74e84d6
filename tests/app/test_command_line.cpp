// The simulator's command line: the data argument's split rules and the options.
#include <gtest/gtest.h>

#include "command_line.h"

TEST(DataArgument, SplitsAtTheFirstBarAndIgnoresAnythingAfterASecond) {
    std::string dir;
    int mode = -7;
    ASSERT_TRUE(splitDataArgument("/data/|1", dir, mode));
    EXPECT_EQ(dir, "/data/");
    EXPECT_EQ(mode, 1);
    ASSERT_TRUE(splitDataArgument("/data/|0|whatever|else", dir, mode));
    EXPECT_EQ(mode, 0);
    ASSERT_TRUE(splitDataArgument("/data/|5", dir, mode));
    EXPECT_EQ(mode, 5);  // any non-zero mode is live
    // A directory without its final separator gets one, so file names append cleanly.
    ASSERT_TRUE(splitDataArgument("/my data|1", dir, mode));
    EXPECT_EQ(dir, "/my data/");
    for (const char* bad : {"", "|1", "/data/", "/data/|", "/data/|one", "/data/|1x"})
        EXPECT_FALSE(splitDataArgument(bad, dir, mode)) << bad;
}

TEST(CommandLineOptions, AreReadBeforeTheDataArgument) {
    std::string error;
    auto cl = parseCommandLine({"--windowed", "--size", "1024x768", "--frames", "12", "--fixed-dt", "0.02",
                                "--input", "in.txt", "--trace", "out.csv", "--no-render", "/d/|0"},
                               error);
    ASSERT_TRUE(cl) << error;
    EXPECT_TRUE(cl->windowed);
    EXPECT_TRUE(cl->noRender);
    EXPECT_EQ(cl->width, 1024);
    EXPECT_EQ(cl->height, 768);
    EXPECT_EQ(cl->frameLimit, 12);
    EXPECT_DOUBLE_EQ(cl->fixedDtS, 0.02);
    EXPECT_EQ(cl->inputPath, "in.txt");
    EXPECT_EQ(cl->tracePath, "out.csv");
    EXPECT_EQ(cl->runMode, 0);
    EXPECT_EQ(cl->dataDirectory, "/d/");

    // The launcher's blank leading argument is skipped.
    cl = parseCommandLine({" ", "/d/|1"}, error);
    ASSERT_TRUE(cl) << error;
    EXPECT_EQ(cl->runMode, 1);
    EXPECT_FALSE(cl->windowed);
    EXPECT_EQ(cl->frameLimit, -1);

    cl = parseCommandLine({"--probe"}, error);
    ASSERT_TRUE(cl) << error;
    EXPECT_TRUE(cl->probe);
    // Asking for help needs no data directory.
    cl = parseCommandLine({"--help"}, error);
    ASSERT_TRUE(cl) << error;
    EXPECT_TRUE(cl->help);
}

TEST(CommandLineOptions, MalformedInputIsReportedWithAReason) {
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"--size", "1024", "/d/|1"},
        {"--size", "0x10", "/d/|1"},
        {"--frames", "-1", "/d/|1"},
        {"--fixed-dt", "fast", "/d/|1"},
        {"--input"},
        {"--what", "/d/|1"},
        {"/d/|1", "/e/|1"},
        {"nobar"},
    };
    for (const auto& args : bad) {
        std::string error;
        EXPECT_FALSE(parseCommandLine(args, error));
        EXPECT_FALSE(error.empty());
    }
}

TEST(CommandLineOptions, UiScaleIsOneTwoOrThreeAndAutomaticWithout) {
    std::string error;
    auto cl = parseCommandLine({"/d/|1"}, error);
    ASSERT_TRUE(cl) << error;
    EXPECT_EQ(cl->uiScale, 0);
    for (int scale : {1, 2, 3}) {
        cl = parseCommandLine({"--ui-scale", std::to_string(scale), "/d/|1"}, error);
        ASSERT_TRUE(cl) << error;
        EXPECT_EQ(cl->uiScale, scale);
    }
    for (const char* bad : {"0", "4", "1.5", "two", "-2", ""}) {
        error.clear();
        EXPECT_FALSE(parseCommandLine({"--ui-scale", bad, "/d/|1"}, error)) << bad;
        EXPECT_FALSE(error.empty());
    }
}

TEST(CommandLineOptions, ExportTakesADirectoryAndAStepOfAtLeastOneFrame) {
    std::string error;
    auto cl = parseCommandLine({"--headless", "--export", "frames", "--every", "5", "/d/|0"}, error);
    ASSERT_TRUE(cl) << error;
    EXPECT_EQ(cl->exportDir, "frames");
    EXPECT_EQ(cl->exportEvery, 5);
    cl = parseCommandLine({"--headless", "--export", "frames", "/d/|0"}, error);
    ASSERT_TRUE(cl) << error;
    EXPECT_EQ(cl->exportEvery, 1);
    EXPECT_EQ(cl->exportOverlays, ExportOverlays::All);
    const std::vector<std::pair<std::string, ExportOverlays>> overlays = {
        {"all", ExportOverlays::All}, {"hud", ExportOverlays::Hud}, {"none", ExportOverlays::None}};
    for (const auto& [word, kept] : overlays) {
        cl = parseCommandLine({"--export", "frames", "--export-overlays", word, "/d/|0"}, error);
        ASSERT_TRUE(cl) << error;
        EXPECT_EQ(cl->exportOverlays, kept) << word;
    }
    const std::vector<std::vector<std::string>> refused = {
        {"--export", "frames", "--every", "0", "/d/|0"},
        {"--export", "frames", "--every", "-3", "/d/|0"},
        {"--export", "frames", "--every", "two", "/d/|0"},
        {"--export", "", "/d/|0"},
        {"--every", "2", "/d/|0"},                          // --every alone
        {"--no-render", "--export", "frames", "/d/|0"},     // nothing is drawn
        {"/d/|0", "--export"},                               // no directory
        {"--export", "frames", "--export-overlays", "buttons", "/d/|0"},
        {"--export", "frames", "--export-overlays", "HUD", "/d/|0"},
        {"--export-overlays", "none", "/d/|0"},              // nothing is exported
    };
    for (const auto& args : refused) {
        error.clear();
        EXPECT_FALSE(parseCommandLine(args, error)) << args[0] << " " << args[1];
        EXPECT_FALSE(error.empty());
    }
}
