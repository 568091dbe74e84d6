// The default restore: the fixed order and first-failure stop, the object files the default
// configuration names, and everything else left alone.
#include <gtest/gtest.h>

#include "default_restore.h"
#include "test_data_dir.h"

namespace {

class DefaultRestore : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy(CELESTRIX_DATA_SOURCE, dir.path(), std::filesystem::copy_options::recursive);
        // Damage every restored file, and one object the default configuration does not name.
        for (const auto& [source, target] : restoredSystemFiles()) testdata::writeText(dir / target, "damaged");
        for (const char* object : {"Sun.cfg", "Moon.cfg", "Observer.cfg"})
            testdata::writeText(dir / (std::string("Objects/") + object), "damaged");
        testdata::writeText(dir / "Objects/Mine.cfg", "my own");
        testdata::writeText(dir / "Configurations/Mine.cfg", "Mine.cfg\n-999\n");
    }
    std::string backup(const std::string& name) { return testdata::readText(dir / ("Backup Default Config/" + name)); }
    testdata::TempDataDir dir;
};

TEST_F(DefaultRestore, RestoresEveryFileAndNothingElse) {
    testdata::writeText(dir / "mission_date.cfg", "2026-12-08T00:00\n");
    RestoreResult r = restoreDefaultConfiguration(dir.path());
    ASSERT_EQ(r.status, RestoreResult::Status::Restored);
    EXPECT_FALSE(testdata::exists(dir / "mission_date.cfg"));  // the world is at J2000.0 again
    for (const auto& [source, target] : restoredSystemFiles()) EXPECT_EQ(testdata::readText(dir / target), backup(source));
    for (const char* object : {"Sun.cfg", "Moon.cfg", "Observer.cfg"})
        EXPECT_EQ(testdata::readText(dir / (std::string("Objects/") + object)), backup(object));
    EXPECT_EQ(testdata::readText(dir / "Objects/Mine.cfg"), "my own");
    EXPECT_EQ(testdata::readText(dir / "Configurations/Mine.cfg"), "Mine.cfg\n-999\n");
}

TEST_F(DefaultRestore, MissingSystemFileStopsAfterTheFilesBeforeIt) {
    std::filesystem::remove(dir / "Backup Default Config/vcrspecs.cfg");
    RestoreResult r = restoreDefaultConfiguration(dir.path());
    EXPECT_EQ(r.status, RestoreResult::Status::CopyFailed);
    EXPECT_EQ(r.failedName, "vcrspecs.cfg");
    int restored = 0;
    for (const auto& [source, target] : restoredSystemFiles())
        restored += testdata::readText(dir / target) == "damaged" ? 0 : 1;
    EXPECT_EQ(restored, 6);
    EXPECT_EQ(testdata::readText(dir / "vcrspecs.cfg"), "damaged");
    EXPECT_EQ(testdata::readText(dir / "Objects/Sun.cfg"), "damaged");
}

TEST_F(DefaultRestore, MissingObjectStopsThereAndKeepsTheObjectsBefore) {
    std::filesystem::remove(dir / "Backup Default Config/Moon.cfg");
    RestoreResult r = restoreDefaultConfiguration(dir.path());
    EXPECT_EQ(r.status, RestoreResult::Status::CopyFailed);
    EXPECT_EQ(r.failedName, "Moon.cfg");
    EXPECT_EQ(testdata::readText(dir / "Objects/Sun.cfg"), backup("Sun.cfg"));
    EXPECT_EQ(testdata::readText(dir / "Objects/Observer.cfg"), "damaged");
}

TEST_F(DefaultRestore, NameLeavingTheObjectsFolderIsNotCopied) {
    testdata::writeText(dir / "Backup Default Config/Default Configuration.cfg", "Sun.cfg\n../escape.cfg\n-999\n");
    RestoreResult r = restoreDefaultConfiguration(dir.path());
    EXPECT_EQ(r.status, RestoreResult::Status::CopyFailed);
    EXPECT_EQ(r.failedName, "../escape.cfg");
    EXPECT_EQ(testdata::readText(dir / "Objects/Sun.cfg"), backup("Sun.cfg"));
}

}  // namespace
