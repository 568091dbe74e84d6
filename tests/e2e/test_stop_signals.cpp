// SIGTERM, SIGINT and SIGHUP end a run the way Esc does: the state is saved, in every mode.
#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "simulator_runs.h"

using testdata::TempDataDir;

TEST(StopSignals, EndTheRunAndSaveLikeEsc) {
    struct Case {
        const char* what;
        std::vector<std::string> options;
        int signal;
    };
    const Case cases[] = {
        {"no-render, SIGTERM", {"--no-render"}, SIGTERM},
        {"no-render, SIGINT", {"--no-render"}, SIGINT},
        {"headless, SIGTERM", {"--headless", "--windowed", "--size", "320x240"}, SIGTERM},
        {"no-render, SIGHUP", {"--no-render"}, SIGHUP},
        {"headless, SIGHUP", {"--headless", "--windowed", "--size", "320x240"}, SIGHUP},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDataDir dir;
        e2e::copyShippedData(dir.path());
        testdata::writeText(dir / "time.cfg", "5");
        // The run goes on far beyond the test; a snapshot at frame 1 shows that frames are running.
        testdata::writeText(dir / "script.txt", "1 key F7 down\n2 key F7 up\n");
        std::vector<std::string> args = c.options;
        for (const char* a : {"--fixed-dt", "0.01", "--frames", "100000000", "--input"}) args.push_back(a);
        args.push_back(dir / "script.txt");
        args.push_back(dir.path() + "|1");
        testrun::Child child = testrun::start(e2e::kCorvane, args, dir.path());
        if (c.options.front() == "--headless")
            ASSERT_TRUE(e2e::appears(dir / "Screenshots/My Screenshots/My Screenshots_0.bmp"));
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
        kill(child.pid, c.signal);
        testrun::RunResult r = testrun::wait(child);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_GT(std::stod(testdata::readText(dir / "time.cfg")), 5.0);
    }
}
