// Numbers that are not finite never reach the saved state: a file that holds one is refused at
// start with the line and item named, and a state that turns non-finite during a run is not saved
// over the previous files.
#include <gtest/gtest.h>

#include "data_dir_snapshot.h"
#include "simulator_runs.h"

using testdata::TempDataDir;

namespace {

// Replaces the value of "Item <item>." in an object file of dir.
void setItem(const std::string& file, int item, const std::string& value) {
    std::string text = testdata::readText(file);
    size_t start = text.find("\nItem " + std::to_string(item) + ". ");
    ASSERT_NE(start, std::string::npos) << file << " item " << item;
    size_t equals = text.find(" = ", start);
    size_t end = text.find('\n', equals);
    testdata::writeText(file, text.substr(0, equals + 3) + value + text.substr(end));
}

}  // namespace

TEST(BadNumbers, NonFiniteValuesInStartUpFilesAreRefusedAndNothingChanges) {
    struct Case {
        const char* file;
        int item;  // -1: the whole file is replaced by text
        const char* text;
        const char* reasonPart;
    };
    const Case cases[] = {
        {"Objects/Earth.cfg", 1, "1e39", "line 11: \"Item 1. mass [kg]\" is not a finite number"},
        {"Objects/Observer.cfg", 6, "1e500", "\"Item 6. velocity.y [km/s]\" is not a finite number"},
        {"Objects/Observer.cfg", 6, "-1e500", "\"Item 6. velocity.y [km/s]\" is not a finite number"},
        {"Objects/Mars.cfg", 20, "nan", "\"Item 20. equatorial radius [km]\" is not a finite number"},
        {"Objects/Mars.cfg", 57, " -INF", "\"Item 57. energy [kJ]\" is not a finite number"},
        {"time.cfg", -1, "1e39", "line 1: the mission time is not a finite number"},
        {"last_view.cfg", -1, "1 0 0 0\n0 1 0 0\n0 0 inf 0\n0 0 0 1\n", "line 3: not a finite number"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " " + c.text);
        TempDataDir dir;
        e2e::copyShippedData(dir.path());
        testdata::writeText(dir / "last_view.cfg", "1 0 0 0\n0 1 0 0\n0 0 1 0\n0 0 0 1\n");
        if (c.item >= 0)
            setItem(dir / c.file, c.item, c.text);
        else
            testdata::writeText(dir / c.file, c.text);
        e2e::DirSnapshot before = e2e::snapshotFiles(dir.path());
        testrun::RunResult r = e2e::runCorvane(dir.path(), {"--no-render", "--frames", "5"});
        EXPECT_EQ(r.exitCode, 255) << r.err;
        EXPECT_NE(r.err.find("Could not process file " + (dir / c.file) + "\n"), std::string::npos) << r.err;
        EXPECT_NE(r.err.find(c.reasonPart), std::string::npos) << r.err;
        EXPECT_EQ(e2e::changedFiles(before, e2e::snapshotFiles(dir.path())), "");
    }
}

TEST(BadNumbers, NaWhereTheFirstStepWouldDivergeIsRefusedWithTheItemNamed) {
    struct Case {
        const char* file;
        int item;
        const char* reasonPart;
    };
    const Case cases[] = {
        {"Objects/Observer.cfg", 6, "\"Item 6. velocity.y [km/s]\" is \"na\""},
        {"Objects/Observer.cfg", 7, "\"Item 7. velocity.z [km/s]\" is \"na\""},
        {"Objects/Observer.cfg", 33, "\"Item 33. pitch dot [rad/s]\" is \"na\""},
        {"Objects/Observer.cfg", 35, "\"Item 35. roll dot [rad/s]\" is \"na\""},
        {"Objects/Observer.cfg", 54, "\"Item 54. acting force fw [kg km/s^2 or kN]\" is \"na\""},
        {"Objects/Observer.cfg", 56, "\"Item 56. acting force rt [kg km/s^2 or kN]\" is \"na\""},
        // A velocity left to an orbit that names no object stays unspecified.
        {"Objects/Observer.cfg", 5, "\"Item 5. velocity.x [km/s]\" is \"na\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.item));
        TempDataDir dir;
        e2e::copyShippedData(dir.path());
        setItem(dir / c.file, c.item, "na");
        e2e::DirSnapshot before = e2e::snapshotFiles(dir.path());
        testrun::RunResult r = e2e::runCorvane(dir.path(), {"--no-render", "--fixed-dt", "0.02", "--frames", "5"});
        EXPECT_EQ(r.exitCode, 255) << r.err;
        EXPECT_NE(r.err.find("Could not process file " + (dir / c.file) + "\n"), std::string::npos) << r.err;
        EXPECT_NE(r.err.find(c.reasonPart), std::string::npos) << r.err;
        EXPECT_EQ(e2e::changedFiles(before, e2e::snapshotFiles(dir.path())), "");
    }
}

TEST(BadNumbers, StateThatTurnsNonFiniteIsReportedAndNotSaved) {
    // The same star listed twice: the two sit on one point and pull each other with 1/0.
    TempDataDir dir;
    testdata::writeLiveDataDir(dir.path(), {{"Star", testdata::minimalStar()}, {"Ship", testdata::minimalObserver()}},
                               "3");
    testdata::writeText(dir / "Configurations/Test.cfg", "Star.cfg\nStar.cfg\nShip.cfg\n-999\n");
    testdata::writeText(dir / "last_view.cfg", "1 0 0 0\n0 1 0 0\n0 0 1 0\n0 0 0 1\n");
    e2e::DirSnapshot before = e2e::snapshotFiles(dir.path());
    testrun::RunResult r = e2e::runCorvane(dir.path(), {"--no-render", "--fixed-dt", "0.02", "--frames", "5"});
    EXPECT_NE(r.err.find("the simulation state is no longer finite"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Objects/Star.cfg"), std::string::npos) << r.err;
    EXPECT_EQ(e2e::changedFiles(before, e2e::snapshotFiles(dir.path())), "");

    // The same run with the star listed once saves as usual.
    testdata::writeText(dir / "Configurations/Test.cfg", "Star.cfg\nShip.cfg\n-999\n");
    r = e2e::runCorvane(dir.path(), {"--no-render", "--fixed-dt", "0.02", "--frames", "5"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err.find("not finite"), std::string::npos) << r.err;
    EXPECT_EQ(testdata::readText(dir / "time.cfg"), "3.1");
}
