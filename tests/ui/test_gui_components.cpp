// The on-screen controls without a window: the layout file's value rules, the layout of
// hidden test components, clicking, and the delivered layouts against both binding tables.
#include <gtest/gtest.h>

#include <map>

#include "gui_components.h"
#include "restore_prompt.h"
#include "test_data_dir.h"

using testdata::TempDataDir;
using testdata::writeText;

namespace {

constexpr int kScreenW = 1280;

// A data directory with the shipped button bitmaps and a layout file of the given text.
std::string specDir(const TempDataDir& dir, const std::string& text) {
    testdata::copyShippedControls(dir.path());
    writeText(dir / "test.cfg", text);
    return dir / "test.cfg";
}

// One component: hit mode, hit height and width, offsets, then the icons as name, size, x, y.
std::string component(const std::string& head, const std::vector<std::tuple<std::string, std::string, std::string, std::string>>& icons) {
    std::string s = head + "number of icons = " + std::to_string(icons.size()) + "\n";
    for (auto& [name, size, x, y] : icons) s += "icon file = Media/Icons/" + name + "\n";
    for (auto& [name, size, x, y] : icons) s += "icon size = " + size + "\n";
    for (auto& [name, size, x, y] : icons) s += "icon x = " + x + "\nicon y = " + y + "\n";
    return s;
}

}  // namespace

TEST(GuiComponents, HiddenLayoutsFollowTheValueRules) {
    TempDataDir dir;
    const std::string path = specDir(
        dir,
        "# comment lines do not count\n"
        "number of components = 2\n" +
            component("hit mode = 0\nhit height = 20.9\nhit width = 100.7\nx offset = 900\n# between\ny offset = 50\n",
                      {{"gui_help_off.bmp", "16", "-40", "0"},
                       {"gui_help_on.bmp", "16", "-40", "0"},
                       {"gui_jump_off.bmp", "64", "-80.5", "3.5"},
                       {"gui_jump_on.bmp", "64", "-80.5", "3.5"}}) +
            component("hit mode = na\nhit height = na\nhit width = na\nx offset = -10\ny offset = 5\n",
                      {{"gui_gui_off.bmp", "32", "-40", "7"}, {"gui_gui_on.bmp", "32", "-40", "7"}}) +
            "-999\nnumber of components = 99\n");
    std::vector<GuiComponent> comps;
    std::vector<GuiComponentSpec> specs;
    GuiLoadResult r = loadGuiComponents(path, dir.path(), kScreenW, false, comps, specs);
    ASSERT_TRUE(r.ok) << r.unreadableFile << r.failedIcon;
    ASSERT_EQ(comps.size(), 2u);
    ASSERT_EQ(comps[0].count(), 4);

    // Sizes 16 and 64 draw at scale 2 and 0.5; x = -40 is 40 pixels left of the right edge.
    const IconSprite& help = comps[0].icons[0];
    EXPECT_FLOAT_EQ(help.placement().scaling.x, 2.0f);
    EXPECT_FLOAT_EQ(comps[0].icons[2].placement().scaling.y, 0.5f);
    EXPECT_FLOAT_EQ(help.placement().translation.x, 900.0f + kScreenW - 40);
    EXPECT_FLOAT_EQ(help.placement().translation.y, 50.0f);
    EXPECT_FLOAT_EQ(comps[0].icons[2].placement().translation.x, 900.0f + kScreenW - 80.5f);
    // Hit mode 0: one rectangle from the offsets, truncated sizes, for every icon.
    for (const IconSprite& icon : comps[0].icons) EXPECT_EQ(icon.hitRect, (IconRect{900, 50, 1000, 70}));
    // Even icons start visible.
    EXPECT_TRUE(comps[0].icons[0].visible);
    EXPECT_FALSE(comps[0].icons[1].visible);
    EXPECT_TRUE(comps[0].icons[2].visible);

    // "na" hit mode reads as 0 (one rectangle); the largest float stays inside the pixel range.
    EXPECT_EQ(specs[1].hitMode, 0);
    EXPECT_EQ(comps[1].icons[0].hitRect.left, -10);
    EXPECT_EQ(comps[1].icons[0].hitRect.right, 2147483647 - 10);

    // Hovering the shared rectangle lights every visible icon; a click flips the first pair.
    updateAndDrawComponent(comps[0], 950, 60, nullptr);
    EXPECT_TRUE(comps[0].icons[0].hovered);
    EXPECT_TRUE(comps[0].icons[2].hovered);
    EXPECT_FALSE(comps[0].icons[1].hovered);  // invisible icons are not tested
    EXPECT_EQ(comps[0].icons[0].placement().modulateArgb, kIconOpaqueWhite);
    int32_t first = 0, second = 0;
    EXPECT_EQ(clickComponent(comps[0], {&first, &second}), &first);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 0);
    EXPECT_FALSE(comps[0].icons[0].visible);
    EXPECT_TRUE(comps[0].icons[1].visible);
    EXPECT_FALSE(comps[0].icons[0].hovered);
    // Nothing hovered: nothing flips. Outside the rectangle the icons dim.
    updateAndDrawComponent(comps[0], 899, 60, nullptr);
    EXPECT_EQ(comps[0].icons[1].placement().modulateArgb, kGuiDimmedArgb);
    EXPECT_EQ(clickComponent(comps[0], {&first, &second}), nullptr);
    EXPECT_EQ(first, 1);
    // A pair without a flag does nothing; any non-zero value counts as set.
    updateAndDrawComponent(comps[0], 950, 60, nullptr);
    EXPECT_EQ(clickComponent(comps[0], {}), nullptr);
    EXPECT_TRUE(comps[0].icons[1].visible);
    first = 7;
    updateAndDrawComponent(comps[0], 950, 60, nullptr);
    clickComponent(comps[0], {&first});
    EXPECT_EQ(first, 0);
    EXPECT_TRUE(comps[0].icons[0].visible);
}

TEST(GuiComponents, DamagedFilesAndMissingIconsAreRefused) {
    TempDataDir dir;
    std::vector<GuiComponent> comps;
    std::vector<GuiComponentSpec> specs;
    const std::string one = component("hit mode = 1\nhit height = 32\nhit width = 32\nx offset = 0\ny offset = 8\n",
                                      {{"gui_gui_off.bmp", "32", "-40", "0"}, {"gui_gui_on.bmp", "32", "-40", "0"}});
    // Missing file.
    GuiLoadResult r = loadGuiComponents(dir / "none.cfg", dir.path(), kScreenW, false, comps, specs);
    EXPECT_EQ(r.unreadableFile, dir / "none.cfg");
    // Announced values that the file does not hold, sizes of 0, values beyond the float range and
    // an icon without a name (which would name the data directory and fail without a name).
    for (const std::string& text :
         {std::string("number of components = 2\n") + one + "-999\n", std::string("number of components = na\n-999\n"),
          "number of components = 1\n" + std::string(one).replace(one.find("Media/Icons/gui_gui_on.bmp"), 26, "") + "-999\n",
          std::string("number of components = 1\n") + one.substr(0, one.size() / 2),
          "number of components = 1\n" + std::string(one).replace(one.find("icon size = 32"), 14, "icon size = 0"),
          "number of components = 1\n" + std::string(one).replace(one.find("icon x = -40"), 12, "icon x = 1e39")}) {
        SCOPED_TRACE(text);
        r = loadGuiComponents(specDir(dir, text), dir.path(), kScreenW, false, comps, specs);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.unreadableFile, dir / "test.cfg");
    }
    // A missing or broken bitmap names the icon as the file gives it.
    const std::string path = specDir(dir, "number of components = 1\n" + one + "-999\n");
    std::filesystem::remove(dir / "Media/Icons/gui_gui_on.bmp");
    r = loadGuiComponents(path, dir.path(), kScreenW, false, comps, specs);
    EXPECT_EQ(r.failedIcon, "Media/Icons/gui_gui_on.bmp");
    writeText(dir / "Media/Icons/gui_gui_on.bmp", "BM");
    r = loadGuiComponents(dir / "test.cfg", dir.path(), kScreenW, false, comps, specs);
    EXPECT_EQ(r.failedIcon, "Media/Icons/gui_gui_on.bmp");
    EXPECT_TRUE(comps.empty());
}

// Every button of the delivered layouts, clicked at its centre, flips the flag of the key its
// bitmap names; a second click flips it back. F6 hides all but the GUI button.
TEST(GuiComponents, DeliveredLayoutsFlipTheFlagsTheirButtonsName) {
    for (bool live : {true, false}) {
        SCOPED_TRACE(live ? "live" : "replay");
        SimState s;
        s.runMode = live ? 1 : 0;
        ControlLatches& l = s.latches;
        DisplayFlags& f = s.flags;
        const std::map<std::string, int32_t*> expected = {
            {"gui", &f.guiHidden}, {"help", &f.keyboardHelpShown}, {"restore", &f.restorePromptShown},
            {"suspend", &f.suspended}, {"exit", &f.exitOnClick}, {"snapshot", &f.snapshotRequest},
            {"torque_up", &l[kTorqueUp]}, {"pitch_up", &l[kPitchUp]}, {"torque_down", &l[kTorqueDown]},
            {"yaw_right", &l[kYawRight]},
            {"crosshair", live ? &l[kCrosshairShown] : &f.replayCrosshairFlipped},
            {"yaw_left", &l[kYawLeft]}, {"roll_cw", &l[kRollClockwise]}, {"pitch_down", &l[kPitchDown]},
            {"roll_ccw", &l[kRollCounterClockwise]}, {"panic", &l[kPanic]},
            {"destination", live ? &l[kDestinationHidden] : &f.replayDestinationFlipped},
            {"jump_fast_up", &l[kDistanceFastUp]}, {"jump_slow_up", &l[kDistanceSlowUp]},
            {"jump_slow_down", &l[kDistanceSlowDown]}, {"jump_fast_down", &l[kDistanceFastDown]},
            {"fw_level_up", &l[kForwardThrustUp]}, {"fw_fire_forward", &l[kForwardThrusterForward]},
            {"fw_fire_backward", &l[kForwardThrusterBackward]}, {"fw_level_down", &l[kForwardThrustDown]},
            {"rt_level_up", &l[kRightThrustUp]}, {"rt_fire_right", &l[kRightThrusterRight]},
            {"rt_fire_left", &l[kRightThrusterLeft]}, {"rt_level_down", &l[kRightThrustDown]},
            {"up_level_up", &l[kUpThrustUp]}, {"up_fire_down", &l[kUpThrusterDown]},
            {"up_fire_up", &l[kUpThrusterUp]}, {"up_level_down", &l[kUpThrustDown]},
            {"energy", &l[kRestoreEnergy]}, {"jump", &l[kJump]}, {"hud", &l[kHudHidden]},
            {"align", &l[kAlign]}, {"record", &f.recordingOn}};
        const std::string file = std::string(CELESTRIX_DATA_SOURCE) + (live ? "guispecs.cfg" : "vcrspecs.cfg");
        std::optional<std::vector<GuiComponentSpec>> specs = readGuiSpecFile(file);
        ASSERT_TRUE(specs);
        GuiControls gui;
        ASSERT_TRUE(gui.load(file, CELESTRIX_DATA_SOURCE, kScreenW, false, live ? liveGuiBindings(s) : replayGuiBindings(s)).ok);
        size_t buttons = 0;
        for (size_t c = 0; c < specs->size(); ++c) {
            const GuiComponentSpec& spec = (*specs)[c];
            for (size_t j = 0; j < spec.iconFiles.size(); j += 2) {
                const std::string name = spec.iconFiles[j].substr(spec.iconFiles[j].find("/gui_") + 5);
                const std::string button = name.substr(0, name.rfind("_off"));
                SCOPED_TRACE(button);
                ASSERT_EQ(expected.count(button), 1u);
                // The whole button lies on a screen of 1280 pixels, right of the screen's middle.
                const int x = kScreenW + static_cast<int>(spec.iconPositions[j].x) + spec.xOffset + 16;
                const int y = static_cast<int>(spec.iconPositions[j].y) + spec.yOffset + 16;
                EXPECT_GE(x - 16, kScreenW / 2);
                EXPECT_LE(x + 16, kScreenW);
                std::vector<int32_t*> flipped = gui.click(x, y, false);
                ASSERT_EQ(flipped, std::vector<int32_t*>{expected.at(button)});
                EXPECT_EQ(*flipped[0], 1);
                gui.click(x, y, false);
                EXPECT_EQ(*flipped[0], 0);
                // Hidden by F6: only the GUI button still takes clicks.
                EXPECT_EQ(gui.click(x, y, true).size(), c == 0 ? 1u : 0u);
                if (c == 0) gui.click(x, y, true);
                ++buttons;
            }
        }
        EXPECT_EQ(buttons, live ? 38u : 36u);
        // Between the buttons nothing flips.
        EXPECT_TRUE(gui.click(kScreenW - 40 + 33, 8 + 16, false).empty());
    }
}

TEST(RestorePrompt, HitSquaresIncludeTheirEdges) {
    const int w = 1280, h = 720;  // centre (640, 360)
    EXPECT_EQ(restoreAnswerAt(590, 385, w, h), RestoreAnswer::Yes);
    EXPECT_EQ(restoreAnswerAt(622, 417, w, h), RestoreAnswer::Yes);
    EXPECT_EQ(restoreAnswerAt(658, 385, w, h), RestoreAnswer::No);
    EXPECT_EQ(restoreAnswerAt(690, 417, w, h), RestoreAnswer::No);
    for (auto [x, y] : {std::pair{589, 400}, std::pair{623, 400}, std::pair{640, 400}, std::pair{657, 400},
                        std::pair{691, 400}, std::pair{600, 384}, std::pair{600, 418}})
        EXPECT_EQ(restoreAnswerAt(x, y, w, h), RestoreAnswer::None) << x << "," << y;
    // Odd sizes use integer halves.
    EXPECT_EQ(restoreAnswerAt(1001 / 2 - 50, 701 / 2 + 25, 1001, 701), RestoreAnswer::Yes);
}
