// The simulator program refuses every broken start-up with exit code 255 and the fixed file
// message naming the exact path, and writes nothing when it does.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "simulator_runs.h"

using testdata::TempDataDir;
using testdata::writeText;

namespace {

std::vector<std::pair<std::string, SimObject>> starAndObserver() {
    return {{"Star", testdata::minimalStar()}, {"Ship", testdata::minimalObserver()}};
}

void expectFileError(const testrun::RunResult& r, const std::string& path) {
    EXPECT_EQ(r.exitCode, 255) << r.err;
    EXPECT_NE(r.err.find("Could not process file " + path + "\n"), std::string::npos) << r.err;
}

// True when some process holds an flock on the file (listed in /proc/locks by its inode).
bool lockIsHeld(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) return false;
    std::ifstream locks("/proc/locks");
    std::string line;
    const std::string inode = ":" + std::to_string(st.st_ino) + " ";
    while (std::getline(locks, line))
        if (line.find("FLOCK") != std::string::npos && (line + " ").find(inode) != std::string::npos) return true;
    return false;
}

}  // namespace

TEST(StartupFailures, EachMissingLiveFileIsNamedWithItsFullPath) {
    const std::vector<std::string> required = {
        "Media/Icons/yes64.bmp", "Media/Icons/no64.bmp", "moviefile.cfg", "screenshotfile.cfg",
        "configfile.cfg",        "Configurations/Test.cfg", "Objects/Ship.cfg", "time.cfg"};
    for (const std::string& file : required) {
        TempDataDir dir;
        testdata::writeLiveDataDir(dir.path(), starAndObserver());
        std::filesystem::remove(dir / file);
        SCOPED_TRACE(file);
        expectFileError(e2e::runCorvane(dir.path(), {"--no-render", "--frames", "0"}), dir / file);
    }
}

TEST(StartupFailures, BrokenFilesAreRefusedAndNothingIsWritten) {
    struct Case {
        const char* what;
        const char* file;
        const char* text;
        const char* reportedFile;
    };
    const Case cases[] = {
        {"object file with 60 items", "Objects/Star.cfg", nullptr, "Objects/Star.cfg"},
        {"object file without terminator", "Objects/Star.cfg", "Item 0. configuration file = x\n",
         "Objects/Star.cfg"},
        {"empty configuration name", "configfile.cfg", "\n-999\n", "Configurations/.cfg"},
        {"configuration of 1001 entries", "Configurations/Test.cfg", nullptr, "Configurations/Test.cfg"},
        {"configuration without observer last", "Configurations/Test.cfg", "Ship.cfg\nStar.cfg\n-999\n",
         "Configurations/Test.cfg"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDataDir dir;
        testdata::writeLiveDataDir(dir.path(), starAndObserver(), "12.5");
        std::string text;
        if (c.text) {
            text = c.text;
        } else if (std::string(c.file) == "Objects/Star.cfg") {
            // Drop the last item line before the terminator.
            text = testdata::readText(dir / c.file);
            size_t end = text.rfind("Item 60.");
            text = text.substr(0, end) + "-999\n";
        } else {
            for (int i = 0; i < 1000; ++i) text += "Star.cfg\n";
            text += "Ship.cfg\n-999\n";
        }
        writeText(dir / c.file, text);
        std::string shipBefore = testdata::readText(dir / "Objects/Ship.cfg");
        expectFileError(e2e::runCorvane(dir.path(), {"--no-render", "--frames", "5"}), dir / c.reportedFile);
        EXPECT_EQ(testdata::readText(dir / "time.cfg"), "12.5");
        EXPECT_EQ(testdata::readText(dir / "Objects/Ship.cfg"), shipBefore);
        EXPECT_FALSE(testdata::exists(dir / "last_view.cfg"));
    }
}

TEST(StartupFailures, ReplayNeedsItsRecordingButNotTheConfigurationSelection) {
    TempDataDir dir;
    testdata::writeLiveDataDir(dir.path(), starAndObserver());
    std::filesystem::remove(dir / "configfile.cfg");
    expectFileError(e2e::runCorvane(dir.path(), {"--no-render", "--frames", "0"}, "0"),
                    dir / "Recordings/Flight/configuration.cfg");

    writeText(dir / "Recordings/Flight/configuration.cfg", "Star.cfg\nShip.cfg\n-999\n");
    expectFileError(e2e::runCorvane(dir.path(), {"--no-render", "--frames", "0"}, "0"),
                    dir / "Recordings/Flight/Flight.vcr");

    // A complete recording plays without configfile.cfg and writes no state back.
    testdata::writeObject(dir.path(), "Recordings/Flight/Sequence1/Star.cfg", testdata::minimalStar());
    testdata::writeObject(dir.path(), "Recordings/Flight/Sequence1/Ship.cfg", testdata::minimalObserver());
    writeText(dir / "Recordings/Flight/Flight.vcr",
              "#\nbegin_sequence\nRecordings/Flight/Sequence1/\n0.02:0\n0.02:0\n0.02:65536\nend_sequence\n#\n");
    std::string timeBefore = testdata::readText(dir / "time.cfg");
    testrun::RunResult r = e2e::runCorvane(dir.path(), {"--no-render", "--frames", "3"}, "0");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(testdata::readText(dir / "time.cfg"), timeBefore);
    EXPECT_FALSE(testdata::exists(dir / "last_view.cfg"));
}

TEST(StartupFailures, OrbitThatCannotBeComputedEndsWithFatalError) {
    TempDataDir dir;
    SimObject planet = testdata::minimalStar();
    planet.isStar = 0;
    planet.velocityKmPerS.x = kNaFloat;
    planet.orbitedObject = 1;
    planet.orbitalPosition1Km = {0, 0, 0};  // on the star itself
    planet.orbitalPosition2Km = {1e6f, 0, 0};
    testdata::writeLiveDataDir(dir.path(), {{"Star", testdata::minimalStar()}, {"Planet", planet},
                                            {"Ship", testdata::minimalObserver()}});
    testrun::RunResult r = e2e::runCorvane(dir.path(), {"--no-render", "--frames", "0"});
    EXPECT_EQ(r.exitCode, 255);
    EXPECT_NE(r.err.find("Fatal error"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("because the orbiting bodies are located at the same position."), std::string::npos)
        << r.err;
    EXPECT_FALSE(testdata::exists(dir / "last_view.cfg"));

    // An orbital relationship that names no object of the configuration is refused the same way.
    planet.orbitalPosition1Km = {1e6f, 0, 0};
    planet.orbitalPosition2Km = {0, 0, 1e6f};
    planet.orbitedObject = 7;
    testdata::writeObject(dir.path(), "Objects/Planet.cfg", planet);
    r = e2e::runCorvane(dir.path(), {"--no-render", "--frames", "0"});
    EXPECT_EQ(r.exitCode, 255);
    EXPECT_NE(r.err.find("Unable to compute the initial orbital velocity for the object"), std::string::npos);
}

TEST(StartupFailures, BadCommandLinesAreReported) {
    TempDataDir dir;
    testdata::writeLiveDataDir(dir.path(), starAndObserver());
    const std::vector<std::vector<std::string>> bad = {
        {}, {""}, {"no-bar-here"}, {dir.path() + "|"}, {dir.path() + "|x"}, {"|1"},
        {"--frames", "many", dir.path() + "|1"}, {"--bogus", dir.path() + "|1"}};
    for (const auto& args : bad) {
        testrun::RunResult r = testrun::run(e2e::kCorvane, args, dir.path());
        EXPECT_EQ(r.exitCode, 255) << (args.empty() ? "(none)" : args.back());
        EXPECT_NE(r.err.find("corvane:"), std::string::npos);
    }
    // A blank leading argument (as the launcher passes) and text after a second "|" are ignored.
    testrun::RunResult ok = testrun::run(e2e::kCorvane, {"--no-render", "--frames", "0", " ", dir.path() + "|1|junk"},
                                         dir.path());
    EXPECT_EQ(ok.exitCode, 0) << ok.err;
}

TEST(SingleInstance, SecondSimulatorIsRefusedAndTheFirstRunsOn) {
    TempDataDir dir;
    testdata::writeLiveDataDir(dir.path(), starAndObserver());
    std::vector<std::string> args = {"--no-render", "--fixed-dt", "0.004", "--frames", "100000",
                                     dir.path() + "|1"};
    testrun::Child first = testrun::start(e2e::kCorvane, args, dir.path());
    // Start the second only once the first holds its lock (seen in the kernel's lock table), so
    // the two never race for it.
    bool locked = false;
    for (int attempt = 0; attempt < 500 && !locked; ++attempt) {
        locked = lockIsHeld(dir / ("corvane-" + std::to_string(getuid()) + ".lock"));
        if (!locked) usleep(10000);
    }
    ASSERT_TRUE(locked) << "the first instance never took its lock";
    testrun::RunResult second = e2e::runCorvane(dir.path(), {"--no-render", "--frames", "0"});
    EXPECT_EQ(second.exitCode, 255);
    EXPECT_NE(second.err.find("Corvane is already running."), std::string::npos) << second.err;
    testrun::RunResult firstResult = testrun::wait(first);
    EXPECT_EQ(firstResult.exitCode, 0) << firstResult.err;
    // 100000 frames of 0.004 s, summed in single precision.
    EXPECT_NEAR(std::stod(testdata::readText(dir / "time.cfg")), 400.0, 2.0);
}
