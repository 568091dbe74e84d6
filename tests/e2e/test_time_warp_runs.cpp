// Time warp end to end: the period and comma keys step the frame time of a window-less run, a
// flight key drops the warp, presses that cancel out change nothing, and a warped flight recorded
// with F5 replays frame by frame from its side file.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "simulator_runs.h"

using testdata::TempDataDir;

namespace {

testrun::RunResult runLive(const std::string& dir, const std::string& script, int frames,
                           const std::string& trace) {
    testdata::writeText(dir + "script.txt", script);
    return e2e::runCorvane(dir, {"--no-render", "--fixed-dt", "0.05", "--frames", std::to_string(frames),
                                 "--input", dir + "script.txt", "--trace", trace});
}

// Mission time after each frame, from the trace's rows of object 0.
std::vector<double> frameTimes(const std::string& trace) {
    std::istringstream in(testdata::readText(trace));
    std::string line;
    std::vector<double> times;
    std::getline(in, line);
    while (std::getline(in, line)) {
        std::istringstream cells(line);
        std::string frame, time, index;
        std::getline(cells, frame, ',');
        std::getline(cells, time, ',');
        std::getline(cells, index, ',');
        if (index == "0") times.push_back(std::stod(time));
    }
    return times;
}

std::string press(int frame, const char* key) {
    return std::to_string(frame) + " key " + key + " down\n" + std::to_string(frame + 1) + " key " + key + " up\n";
}

}  // namespace

TEST(TimeWarpRuns, PeriodAndCommaStepTheFrameTimeAndAFlightKeyDropsIt) {
    TempDataDir dir;
    e2e::copyShippedData(dir.path());
    // x10 at frame 0, x100 at 2, x1000 at 4, back to x100 at 10, U (thrust level) at 30.
    const std::string script = press(0, "Period") + press(2, "Period") + press(4, "Period") +
                               press(10, "Comma") + press(30, "U");
    testrun::RunResult r = runLive(dir.path(), script, 40, dir / "trace.csv");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::vector<double> t = frameTimes(dir / "trace.csv");
    ASSERT_EQ(t.size(), 40u);
    auto step = [&](size_t f) { return f == 0 ? t[0] : t[f] - t[f - 1]; };
    EXPECT_NEAR(step(0), 0.5, 1e-6);
    EXPECT_NEAR(step(2), 5.0, 1e-5);
    for (size_t f = 4; f < 10; ++f) EXPECT_NEAR(step(f), 50.0, 1e-3) << f;
    for (size_t f = 10; f < 30; ++f) EXPECT_NEAR(step(f), 5.0, 1e-3) << f;
    for (size_t f = 30; f < 40; ++f) EXPECT_NEAR(step(f), 0.05, 1e-3) << f;  // the drop stays
}

TEST(TimeWarpRuns, PressesThatCancelOutLeaveTheRunBitForBit) {
    TempDataDir a, b;
    e2e::copyShippedData(a.path());
    e2e::copyShippedData(b.path());
    const std::string flight = press(5, "U") + "20 key R down\n40 key R up\n";
    ASSERT_EQ(runLive(a.path(), flight, 60, a / "trace.csv").exitCode, 0);
    // Up and down in the same frame, and both keys held for a while: warp 1 throughout.
    const std::string both = "0 key Period down\n0 key Comma down\n10 key Period up\n10 key Comma up\n";
    ASSERT_EQ(runLive(b.path(), both + flight, 60, b / "trace.csv").exitCode, 0);
    EXPECT_EQ(testdata::readText(b / "trace.csv"), testdata::readText(a / "trace.csv"));
    EXPECT_EQ(testdata::readText(b / "Objects/Observer.cfg"), testdata::readText(a / "Objects/Observer.cfg"));
}

TEST(TimeWarpRuns, WarpedFlightRecordedAndReplayedMatchesFrameByFrame) {
    TempDataDir dir;
    e2e::copyShippedData(dir.path());
    // Record; raise the thrust and burn at warp 1; coast at warp 10,000 (500 s frames, split into
    // substeps); turn (which drops the warp); warp 10, during which a target is chosen, faced and
    // its jump distance set, so that warp and navigation requests share frames of the side file.
    const std::string script = press(0, "F5") + "5 key U down\n30 key U up\n30 key R down\n40 key R up\n" +
                               press(43, "Period") + press(45, "Period") + press(47, "Period") +
                               press(49, "Period") + "150 key W down\n160 key W up\n" + press(170, "Period") +
                               press(175, "Tab") + press(180, "Y") + press(185, "Period") + press(190, "Z");
    testrun::RunResult r = runLive(dir.path(), script, 200, dir / "live.csv");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::vector<double> live = frameTimes(dir / "live.csv");
    ASSERT_EQ(live.size(), 200u);
    EXPECT_NEAR(live[120] - live[119], 500.0, 1e-2);  // warped while recording

    r = e2e::runCorvane(dir.path(), {"--no-render", "--trace", dir / "replay.csv"}, "0");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Exact replay: all 200 frames matched.\n");
    EXPECT_EQ(testdata::readText(dir / "replay.csv"), testdata::readText(dir / "live.csv"));

    // The recording file alone holds the warped frame times: its replay covers the same time.
    std::filesystem::remove(dir / "Recordings/My Recording/My Recording.vcx");
    r = e2e::runCorvane(dir.path(), {"--no-render", "--trace", dir / "plain.csv"}, "0");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::vector<double> plain = frameTimes(dir / "plain.csv");
    ASSERT_FALSE(plain.empty());
    EXPECT_NEAR(plain.back(), live.back(), 1e-3 * live.back());
}
