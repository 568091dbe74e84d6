// Runs without a usable keyboard step exactly like a visible run in which no key is held: the
// control step still runs with every key up, so a thruster latched from the stored state fires.
#include <gtest/gtest.h>

#include <cstdlib>

#include "object_file.h"
#include "simulator_runs.h"

using testdata::readText;
using testdata::TempDataDir;

namespace {

struct Outcome {
    int exitCode = -1;
    std::string err, trace, ship, view, time;
};

// The backward thruster was firing when the state was stored: its latch is set at start.
Outcome runIdle(std::vector<std::string> options, const std::vector<std::string>& env = {},
                const std::string& script = "") {
    TempDataDir dir;
    SimObject ship = testdata::minimalObserver();
    ship.nominalForceKN = {300, 0, 0};
    ship.actingForceKN = {-300, 0, 0};
    e2e::copyShippedData(dir.path());  // the sky and icons that a drawn run needs
    testdata::writeLiveDataDir(dir.path(), {{"Star", testdata::minimalStar()}, {"Ship", ship}}, "10");
    if (!script.empty()) {
        testdata::writeText(dir / "script.txt", script);
        options.insert(options.end(), {"--input", dir / "script.txt"});
    }
    options.insert(options.end(), {"--fixed-dt", "0.25", "--frames", "8", "--trace", dir / "trace.csv"});
    options.push_back(dir.path() + "|1");
    testrun::RunResult r = testrun::run(e2e::kCorvane, options, dir.path(), env);
    return {r.exitCode, r.err, readText(dir / "trace.csv"), readText(dir / "Objects/Ship.cfg"),
            readText(dir / "last_view.cfg"), readText(dir / "time.cfg")};
}

void expectSameRun(const Outcome& a, const Outcome& b) {
    EXPECT_EQ(a.exitCode, 0) << a.err;
    EXPECT_EQ(b.exitCode, 0) << b.err;
    EXPECT_EQ(a.trace, b.trace);
    EXPECT_EQ(a.ship, b.ship);
    EXPECT_EQ(a.view, b.view);
    EXPECT_EQ(a.time, b.time);
}

}  // namespace

TEST(InputWithoutKeyboard, EveryKeyboardlessRunStepsLikeAVisibleRunWithNoKeyHeld) {
    const Outcome noRender = runIdle({"--no-render"});
    ASSERT_EQ(noRender.exitCode, 0) << noRender.err;
    // The latched thruster fired backward (-z) for all eight frames: 0.3 km/s^2 for 2 s.
    TempDataDir scratch;
    testdata::writeText(scratch / "Ship.cfg", noRender.ship);
    SimObject saved;
    ASSERT_TRUE(readObjectFile(saved, scratch / "Ship.cfg", scratch.path()));
    EXPECT_NEAR(saved.velocityKmPerS.z, -0.6, 1e-4);

    SCOPED_TRACE("a script of comments only");
    expectSameRun(noRender, runIdle({"--no-render"}, {}, "# nothing to press\n"));
    SCOPED_TRACE("a script whose only event is a click beside every control");
    expectSameRun(noRender, runIdle({"--no-render"}, {}, "3 click 5 5\n"));
    SCOPED_TRACE("a hidden window without focus");
    expectSameRun(noRender, runIdle({"--headless", "--windowed", "--size", "320x240"}));
    const char* display = std::getenv("DISPLAY");
    if (display && *display) {
        SCOPED_TRACE("a visible window under X");
        expectSameRun(noRender, runIdle({"--windowed", "--size", "320x240"}, {"SDL_VIDEODRIVER=x11"}));
    }
}
