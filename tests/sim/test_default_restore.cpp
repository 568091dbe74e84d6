// The simulator's default-configuration restore: the file set and order, the stop at the first
// failed copy, and copies that replace their targets whole.
#include <gtest/gtest.h>

#include <filesystem>

#include "default_restore.h"
#include "test_data_dir.h"

using testdata::readText;
using testdata::TempDataDir;
using testdata::writeText;

namespace {

// A backup of the nine system files and two objects, and working files that differ from it.
void writeBackupAndWorkingFiles(const TempDataDir& dir) {
    for (const RestoreEntry& e : defaultRestoreSystemFiles()) {
        writeText(dir / (std::string("Backup Default Config/") + e.source), std::string("backup ") + e.source);
        writeText(dir / e.target, std::string("working ") + e.target);
    }
    writeText(dir / "Backup Default Config/Default Configuration.cfg", "Sun.cfg\nShip.cfg\n-999\nLost.cfg\n");
    for (const char* name : {"Sun.cfg", "Ship.cfg", "Other.cfg"}) {
        writeText(dir / (std::string("Backup Default Config/") + name), std::string("backup ") + name);
        writeText(dir / (std::string("Objects/") + name), std::string("working ") + name);
    }
}

}  // namespace

TEST(DefaultRestore, CopiesTheSystemFilesThenTheObjectsOfTheDefaultConfiguration) {
    TempDataDir dir;
    writeBackupAndWorkingFiles(dir);
    writeText(dir / "mission_date.cfg", "2026-12-08T00:00\n");
    DefaultRestoreResult r = restoreDefaultConfiguration(dir.path());
    ASSERT_TRUE(r.restored) << r.failedSource;
    EXPECT_FALSE(testdata::exists(dir / "mission_date.cfg"));  // the world is at J2000.0 again
    const std::vector<std::string> order = {
        "time.cfg", "configfile.cfg", "Configurations/Default Configuration.cfg", "screenshotfile.cfg",
        "moviefile.cfg", "guispecs.cfg", "vcrspecs.cfg", "CfgTemplate.cfg", "last_view.cfg",
        "Objects/Sun.cfg", "Objects/Ship.cfg"};
    ASSERT_EQ(r.copiedTargets.size(), order.size());
    for (size_t i = 0; i < order.size(); ++i) EXPECT_EQ(r.copiedTargets[i], dir / order[i]);
    EXPECT_EQ(readText(dir / "guispecs.cfg"), "backup guispecs.cfg");
    EXPECT_EQ(readText(dir / "Objects/Ship.cfg"), "backup Ship.cfg");
    // Objects the default configuration does not name, and names after "-999", stay alone.
    EXPECT_EQ(readText(dir / "Objects/Other.cfg"), "working Other.cfg");
    EXPECT_FALSE(testdata::exists(dir / "Objects/Lost.cfg"));
    // No temporary files are left beside the targets.
    EXPECT_EQ(testdata::listFiles(dir / "Objects"), (std::vector<std::string>{"Other.cfg", "Ship.cfg", "Sun.cfg"}));
}

TEST(DefaultRestore, FirstFailedCopyStopsAndLeavesEveryTargetOldOrNew) {
    {
        TempDataDir dir;
        writeBackupAndWorkingFiles(dir);
        std::filesystem::remove(dir / "Backup Default Config/vcrspecs.cfg");
        DefaultRestoreResult r = restoreDefaultConfiguration(dir.path());
        EXPECT_FALSE(r.restored);
        EXPECT_EQ(r.failedSource, dir / "Backup Default Config/vcrspecs.cfg");
        EXPECT_EQ(r.copiedTargets.size(), 6u);
        EXPECT_EQ(readText(dir / "guispecs.cfg"), "backup guispecs.cfg");
        EXPECT_EQ(readText(dir / "vcrspecs.cfg"), "working vcrspecs.cfg");
        EXPECT_EQ(readText(dir / "last_view.cfg"), "working last_view.cfg");
        EXPECT_EQ(readText(dir / "Objects/Sun.cfg"), "working Sun.cfg");
    }
    {
        // An object missing from the backup stops the restore at that object.
        TempDataDir dir;
        writeBackupAndWorkingFiles(dir);
        std::filesystem::remove(dir / "Backup Default Config/Ship.cfg");
        DefaultRestoreResult r = restoreDefaultConfiguration(dir.path());
        EXPECT_FALSE(r.restored);
        EXPECT_FALSE(r.configurationUnreadable);
        EXPECT_EQ(readText(dir / "Objects/Sun.cfg"), "backup Sun.cfg");
        EXPECT_EQ(readText(dir / "Objects/Ship.cfg"), "working Ship.cfg");
    }
    {
        // A target that cannot be replaced (a directory stands there) keeps what it was.
        TempDataDir dir;
        writeBackupAndWorkingFiles(dir);
        std::filesystem::remove(dir / "moviefile.cfg");
        std::filesystem::create_directories(dir / "moviefile.cfg/keep");
        DefaultRestoreResult r = restoreDefaultConfiguration(dir.path());
        EXPECT_FALSE(r.restored);
        EXPECT_TRUE(std::filesystem::is_directory(dir / "moviefile.cfg/keep"));
        EXPECT_EQ(readText(dir / "guispecs.cfg"), "working guispecs.cfg");
    }
    {
        // Object names that would leave Objects/ are refused, not followed.
        TempDataDir dir;
        writeBackupAndWorkingFiles(dir);
        writeText(dir / "Backup Default Config/Default Configuration.cfg", "../time.cfg\n-999\n");
        DefaultRestoreResult r = restoreDefaultConfiguration(dir.path());
        EXPECT_FALSE(r.restored);
        EXPECT_EQ(readText(dir / "time.cfg"), "backup time.cfg");
    }
}
