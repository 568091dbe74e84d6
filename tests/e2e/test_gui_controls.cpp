// The on-screen controls and the restore prompt in whole simulator runs driven by scripted clicks:
// a flight flown with the mouse alone, exit and suspension by click, F6, the restore prompt's
// three answers, and broken control layouts.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <stdexcept>

#include "gui_components.h"
#include "simulator_runs.h"

using testdata::readText;
using testdata::TempDataDir;
using testdata::writeText;

namespace {

constexpr int kW = 1280, kH = 720;
const std::string kSize = "1280x720";

// "x y" of the centre of a delivered button (by its bitmap's name) on a 1280-pixel screen.
std::string button(const std::string& name, bool live = true) { return e2e::buttonCentre(name, kW, 1, live); }

// An observer at rest with a massless marker body 10000 km ahead (see the scripted flight).
void writeFlightData(const std::string& dir) {
    SimObject ship = testdata::minimalObserver();
    ship.torqueLevel = 0.001f;
    ship.forceFactorKNPerS = 1e5f;
    ship.energyKJ = 5e6f;
    SimObject marker = testdata::masslessMarker();
    testdata::writeLiveDataDir(dir, {{"Marker", marker}, {"Ship", ship}});
}

struct RunFiles {
    std::string ship, view, time, trace;
};

RunFiles flyWithScript(const std::string& script) {
    TempDataDir dir;
    writeFlightData(dir.path());
    writeText(dir / "script.txt", script);
    testrun::RunResult r = e2e::runCorvane(dir.path(), {"--no-render", "--size", kSize, "--fixed-dt", "0.02", "--frames",
                                                         "30", "--input", dir / "script.txt", "--trace", dir / "trace.csv"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    return {readText(dir / "Objects/Ship.cfg"), readText(dir / "last_view.cfg"), readText(dir / "time.cfg"),
            readText(dir / "trace.csv")};
}

testrun::RunResult runShipped(const TempDataDir& dir, const std::string& script, std::vector<std::string> options = {}) {
    writeText(dir / "script.txt", script);
    options.insert(options.end(), {"--size", kSize, "--fixed-dt", "0.02", "--input", dir / "script.txt"});
    if (std::find(options.begin(), options.end(), "--headless") == options.end()) options.push_back("--no-render");
    return e2e::runCorvane(dir.path(), options);
}

}  // namespace

TEST(GuiControls, FlightFlownWithClicksSavesWhatTheSameFlightWithKeysSaves) {
    // Pitch down, raise the forward thrust, fire forward, restore energy, jump, align.
    RunFiles keys = flyWithScript(
        "0 key W down\n5 key W up\n5 key U down\n10 key U up\n10 key R down\n20 key R up\n"
        "22 key A down\n23 key A up\n25 key Q down\n26 key Q up\n27 key Space down\n28 key Space up\n");
    RunFiles clicks = flyWithScript("0 click " + button("pitch_down") + "\n5 click " + button("pitch_down") +
                                    "\n5 click " + button("fw_level_up") + "\n10 click " + button("fw_level_up") +
                                    "\n10 click " + button("fw_fire_forward") + "\n20 click " +
                                    button("fw_fire_forward") + "\n22 click " + button("energy") + "\n25 click " +
                                    button("jump") + "\n27 click " + button("align") + "\n");
    EXPECT_EQ(clicks.ship, keys.ship);
    EXPECT_EQ(clicks.view, keys.view);
    EXPECT_EQ(clicks.time, keys.time);
    EXPECT_EQ(clicks.trace, keys.trace);
    // The flight did move the ship (the comparison is not between two idle runs).
    EXPECT_NE(flyWithScript("").ship, keys.ship);
}

TEST(GuiControls, ExitSuspendAndHiddenControlsActLikeTheirKeys) {
    {
        // Exit on click closes like Esc, with the state saved.
        TempDataDir dir;
        e2e::copyShippedData(dir.path());
        testrun::RunResult r = runShipped(dir, "4 click " + button("exit") + "\n", {"--frames", "100"});
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(readText(dir / "time.cfg"), "0.08");
    }
    {
        // The suspend control pauses like F4: no frame advances after it; F4 resumes.
        TempDataDir dir;
        e2e::copyShippedData(dir.path());
        testrun::RunResult r = runShipped(dir, "3 click " + button("suspend") + "\n3 click " + button("exit") +
                                                   "\n50 key F4 down\n51 key F4 up\n", {"--frames", "6"});
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(readText(dir / "time.cfg"), "0.12");  // 3 frames, paused (exit ignored), F4, 3 more
    }
    {
        // F6 hides every control but the GUI button: a click on suspend then does nothing.
        TempDataDir dir;
        e2e::copyShippedData(dir.path());
        testrun::RunResult r = runShipped(dir, "2 key F6 down\n2 key F6 up\n2 click " + button("suspend") +
                                                   "\n3 click " + button("gui") + "\n6 click " + button("exit") + "\n",
                                          {"--frames", "100"});
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(readText(dir / "time.cfg"), "0.12");
    }
}

TEST(GuiControls, RestorePromptKeepsAsksAndRestores) {
    const int cx = kW / 2, cy = kH / 2;
    const std::string beside = std::to_string(cx) + " " + std::to_string(cy + 40);
    const std::string yes = std::to_string(cx - 34) + " " + std::to_string(cy + 40);
    const std::string no = std::to_string(cx + 34) + " " + std::to_string(cy + 40);
    const std::string shipped = CELESTRIX_DATA_SOURCE;
    {
        // A click beside both icons keeps the prompt, so Esc saves nothing.
        TempDataDir dir;
        e2e::copyShippedData(dir.path());
        testrun::RunResult r = runShipped(dir, "2 key F12 down\n3 click " + beside + "\n3 click " + button("exit") +
                                                   "\n5 key Esc down\n");
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(readText(dir / "time.cfg"), "0");
        EXPECT_EQ(readText(dir / "Objects/Observer.cfg"), readText(shipped + "Objects/Observer.cfg"));
    }
    {
        // "no" closes the prompt and changes no file; Esc then saves as usual.
        TempDataDir dir;
        e2e::copyShippedData(dir.path());
        writeText(dir / "guispecs.cfg", readText(dir / "guispecs.cfg") + "# edited by the user\n");
        testrun::RunResult r = runShipped(dir, "2 key F12 down\n3 click " + no + "\n5 key Esc down\n");
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(readText(dir / "time.cfg"), "0.1");
        EXPECT_NE(readText(dir / "guispecs.cfg"), readText(shipped + "guispecs.cfg"));
    }
    {
        // "yes" restores the delivered files; neither F12 nor Esc afterwards writes any of them.
        TempDataDir dir;
        e2e::copyShippedData(dir.path());
        writeText(dir / "time.cfg", "999");
        writeText(dir / "last_view.cfg", "0 1 0 0\n-1 0 0 0\n0 0 1 0\n0 0 0 1\n");
        writeText(dir / "Objects/Earth.cfg", "# edited by the user\n" + readText(dir / "Objects/Earth.cfg"));
        writeText(dir / "Objects/Extra.cfg", "mine");
        std::filesystem::remove(dir / "vcrspecs.cfg");
        testrun::RunResult r =
            runShipped(dir, "2 key F12 down\n3 click " + yes + "\n4 key F12 down\n4 key F12 up\n6 key Esc down\n");
        ASSERT_EQ(r.exitCode, 0) << r.err;
        const std::string backup = shipped + "Backup Default Config/";
        for (const char* name : {"time.cfg", "configfile.cfg", "screenshotfile.cfg", "moviefile.cfg", "guispecs.cfg",
                                 "vcrspecs.cfg", "CfgTemplate.cfg", "last_view.cfg"})
            EXPECT_EQ(readText(dir / name), readText(backup + name)) << name;
        EXPECT_EQ(readText(dir / "Configurations/Default Configuration.cfg"),
                  readText(backup + "Default Configuration.cfg"));
        for (const std::string& name : testdata::listFiles(backup)) {
            if (testdata::exists(shipped + "Objects/" + name)) {
                EXPECT_EQ(readText(dir / ("Objects/" + name)), readText(backup + name)) << name;
            }
        }
        EXPECT_EQ(readText(dir / "Objects/Extra.cfg"), "mine");
    }
}

TEST(GuiControls, BrokenLayoutsEndTheRunBeforeAnythingIsWritten) {
    for (const char* mode : {"--no-render", "--headless"}) {
        SCOPED_TRACE(mode);
        {
            TempDataDir dir;
            e2e::copyShippedData(dir.path());
            std::filesystem::remove(dir / "Media/Icons/gui_jump_on.bmp");
            writeText(dir / "time.cfg", "5");
            testrun::RunResult r = e2e::runCorvane(dir.path(), {mode, "--windowed", "--size", "640x480", "--frames", "5"});
            EXPECT_EQ(r.exitCode, 255);
            EXPECT_NE(r.err.find("Could not create GUI-component Media/Icons/gui_jump_on.bmp"), std::string::npos) << r.err;
            EXPECT_EQ(readText(dir / "time.cfg"), "5");
        }
        {
            TempDataDir dir;
            e2e::copyShippedData(dir.path());
            std::filesystem::remove(dir / "vcrspecs.cfg");
            writeText(dir / "moviefile.cfg", "Flight\n-999\n");
            // Replay mode needs vcrspecs.cfg; a recording is made first by a live run.
            writeText(dir / "rec.txt", "0 key F5 down\n0 key F5 up\n");
            ASSERT_EQ(e2e::runCorvane(dir.path(), {"--no-render", "--frames", "5", "--fixed-dt", "0.02", "--input",
                                                  dir / "rec.txt"}).exitCode, 0);
            testrun::RunResult r =
                e2e::runCorvane(dir.path(), {mode, "--windowed", "--size", "640x480", "--frames", "3"}, "0");
            EXPECT_EQ(r.exitCode, 255);
            EXPECT_NE(r.err.find("Could not process file " + dir / "vcrspecs.cfg"), std::string::npos) << r.err;
        }
    }
}
