// A flight flown with a game controller (SDL's virtual pad, plugged in, moved and pulled out by
// the script) saves and records byte for byte what the same flight flown with the keys saves, in
// a run without a window and in a hidden window alike.
#include <gtest/gtest.h>

#include "simulator_runs.h"

using testdata::readText;
using testdata::TempDataDir;
using testdata::writeText;

namespace {

// An observer at rest with a massless marker body ahead (see the scripted flight).
void writeFlightData(const std::string& dir) {
    SimObject ship = testdata::minimalObserver();
    ship.torqueLevel = 0.001f;
    ship.forceFactorKNPerS = 1e5f;
    ship.energyKJ = 5e6f;
    ship.jumpDistanceKm = 1e5f;
    SimObject marker = testdata::masslessMarker();
    testdata::writeLiveDataDir(dir, {{"Marker", marker}, {"Ship", ship}});
}

struct Saved {
    std::string ship, view, time, trace, recording, exactReplay;
};

Saved fly(const std::string& script, bool headless) {
    TempDataDir dir;
    if (headless) e2e::copyShippedData(dir.path());  // the sky, icons and fonts' media
    writeFlightData(dir.path());
    writeText(dir / "script.txt", script);
    std::vector<std::string> options = {"--fixed-dt", "0.02", "--frames", "40", "--input", dir / "script.txt",
                                        "--trace", dir / "trace.csv"};
    if (headless)
        options.insert(options.end(), {"--headless", "--windowed", "--size", "640x360"});
    else
        options.push_back("--no-render");
    testrun::RunResult r = e2e::runCorvane(dir.path(), options);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    const std::string recording = dir / "Recordings/Flight/Flight";
    return {readText(dir / "Objects/Ship.cfg"), readText(dir / "last_view.cfg"), readText(dir / "time.cfg"),
            readText(dir / "trace.csv"), readText(recording + ".vcr"), readText(recording + ".vcx")};
}

// Recording from frame 1: nose down, torque level up, forward thrust level up, fire forward
// (stopped when the pad is pulled out, fired again after it is plugged back in), roll, the
// heads-up display off and on (F2, a command), a panic stop (F8, a command), a jump and an align.
const char* kKeyFlight =
    "1 key F5 down\n2 key F5 up\n"
    "2 key W down\n7 key W up\n"
    "7 key Up down\n10 key Up up\n"
    "7 key U down\n12 key U up\n"
    "12 key R down\n18 key R up\n"
    "14 key F2 down\n15 key F2 up\n16 key F2 down\n17 key F2 up\n"
    "16 key C down\n18 key C up\n"
    "20 key R down\n24 key R up\n"
    "26 key F8 down\n27 key F8 up\n"
    "30 key Q down\n31 key Q up\n"
    "33 key Space down\n34 key Space up\n";

const char* kPadFlight =
    "0 pad plug\n"
    "1 key F5 down\n2 key F5 up\n"
    "2 pad LeftY -32768\n7 pad LeftY -1000\n"
    "7 pad RightY -20000\n10 pad RightY 0\n"
    "7 pad DpadRight down\n12 pad DpadRight up\n"
    "12 pad RightTrigger 32767\n"
    "14 pad Y down\n15 pad Y up\n16 pad Y down\n17 pad Y up\n"
    "16 pad RightX 30000\n"
    "18 pad unplug\n"
    "20 pad plug\n20 pad RightTrigger 32767\n24 pad RightTrigger 0\n"
    "26 pad B down\n27 pad B up\n"
    "30 pad A down\n31 pad A up\n"
    "33 pad X down\n34 pad X up\n";

}  // namespace

TEST(GameControllerRuns, PadFlightSavesAndRecordsWhatTheKeyFlightDoes) {
    for (bool headless : {false, true}) {
        SCOPED_TRACE(headless ? "hidden window" : "no window");
        Saved keys = fly(kKeyFlight, headless);
        Saved pad = fly(kPadFlight, headless);
        EXPECT_EQ(pad.ship, keys.ship);
        EXPECT_EQ(pad.view, keys.view);
        EXPECT_EQ(pad.time, keys.time);
        EXPECT_EQ(pad.trace, keys.trace);
        EXPECT_EQ(pad.recording, keys.recording);
        EXPECT_EQ(pad.exactReplay, keys.exactReplay);
        EXPECT_FALSE(keys.recording.empty());
        // The flight moved the ship, and pulling the pad out mattered: without it the thruster
        // would have kept firing from frame 12 to 24.
        EXPECT_NE(fly("", headless).ship, keys.ship);
        std::string unpulled = kPadFlight;
        unpulled.replace(unpulled.find("18 pad unplug\n20 pad plug\n"), 26, "");
        EXPECT_NE(fly(unpulled, headless).ship, keys.ship);
    }
}
