// Data-directory work of the launcher: resolving and preparing the directory, the single-instance
// lock, listing, and deleting recordings and screenshot sets.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>

#include "data_directory.h"
#include "data_files.h"
#include "natural_order.h"
#include "launcher_lock.h"
#include "test_data_dir.h"

using testdata::exists;
using testdata::TempDataDir;
using testdata::writeText;

namespace {

// Sets an environment variable for one scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        if (const char* old = getenv(name)) old_ = old;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (old_) setenv(name_, old_->c_str(), 1);
        else unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

}  // namespace

TEST(DataDirectory, ResolutionOrder) {
    TempDataDir dir;
    ScopedEnv xdg("XDG_DATA_HOME", dir.path() + "xdg");
    std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    {
        ScopedEnv explicitDir("CELESTRIX_DATA_DIR", "/from/env");
        EXPECT_EQ(resolveDataDirectory(std::string("/from/option")), "/from/option");
        EXPECT_EQ(resolveDataDirectory(std::nullopt), "/from/env");
    }
    unsetenv("CELESTRIX_DATA_DIR");
    EXPECT_EQ(resolveDataDirectory(std::nullopt), dir.path() + "xdg/celestrix");
    writeText(dir.path() + "configfile.cfg", "X\n-999\n");
    EXPECT_EQ(std::filesystem::path(resolveDataDirectory(std::nullopt)),
              std::filesystem::current_path());
    // Inside the pristine data the default directory is taken instead: it is never written.
    std::filesystem::current_path(CELESTRIX_DATA_SOURCE);
    EXPECT_EQ(resolveDataDirectory(std::nullopt), dir.path() + "xdg/celestrix");
    std::filesystem::current_path(previous);
}

TEST(DataDirectory, FirstRunCopyNeverReplacesAUsersFile) {
    TempDataDir dir;
    const std::string target = dir.path() + "data";
    writeText(target + "/stars.txt", "my own stars");
    std::string error;
    ASSERT_TRUE(prepareDataDirectory(target, CELESTRIX_DATA_SOURCE, error)) << error;
    EXPECT_EQ(testdata::readText(target + "/stars.txt"), "my own stars");
    EXPECT_TRUE(exists(target + "/Objects/Sun.cfg"));
    EXPECT_TRUE(exists(target + "/Backup Default Config"));
    EXPECT_EQ(testdata::readText(target + "/configfile.cfg"),
              testdata::readText(std::string(CELESTRIX_DATA_SOURCE) + "configfile.cfg"));

    // Once prepared, nothing more is copied: a deleted object stays deleted.
    std::filesystem::remove(target + "/Objects/Sun.cfg");
    ASSERT_TRUE(prepareDataDirectory(target, CELESTRIX_DATA_SOURCE, error));
    EXPECT_FALSE(exists(target + "/Objects/Sun.cfg"));

    EXPECT_FALSE(prepareDataDirectory(dir.path() + "other", dir.path() + "no pristine", error));
    EXPECT_NE(error.find("no pristine"), std::string::npos);
    writeText(dir.path() + "a file", "x");
    EXPECT_FALSE(prepareDataDirectory(dir.path() + "a file", CELESTRIX_DATA_SOURCE, error));
}

TEST(LauncherLock, OnlyOneHolder) {
    TempDataDir dir;
    ScopedEnv runtime("XDG_RUNTIME_DIR", dir.path());
    EXPECT_EQ(launcherLockPath().rfind(dir.path(), 0), 0u);
    ASSERT_EQ(acquireLauncherLock().outcome, LockOutcome::Acquired);
    // flock is per open file: a second acquisition, even in this process, is refused.
    EXPECT_EQ(acquireLauncherLock().outcome, LockOutcome::HeldByAnother);
}

TEST(LauncherLock, AnythingButAFileAtItsPathIsAFailureToOpenNotAnotherLauncher) {
    struct Case {
        const char* what;
        void (*plant)(const std::string& lockPath, const std::string& dir);
    };
    const std::vector<Case> cases = {
        {"link to a file", [](const std::string& p, const std::string& d) {
             writeText(d + "victim", "keep");
             std::filesystem::create_symlink(d + "victim", p);
         }},
        {"dangling link", [](const std::string& p, const std::string& d) {
             std::filesystem::create_symlink(d + "nowhere", p);
         }},
        {"directory", [](const std::string& p, const std::string&) { std::filesystem::create_directory(p); }},
        {"pipe", [](const std::string& p, const std::string&) { ASSERT_EQ(mkfifo(p.c_str(), 0600), 0); }},
        {"missing runtime directory", [](const std::string&, const std::string& d) {
             std::filesystem::remove_all(d);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDataDir dir;
        const std::string runtime = dir.path() + "run/";
        std::filesystem::create_directories(runtime);
        ScopedEnv env("XDG_RUNTIME_DIR", runtime);
        c.plant(launcherLockPath(), runtime);
        const LauncherLock lock = acquireLauncherLock();
        EXPECT_EQ(lock.outcome, LockOutcome::CannotOpen);
        EXPECT_NE(lock.failure.find(launcherLockPath()), std::string::npos) << lock.failure;
        if (exists(runtime + "victim")) {
            EXPECT_EQ(testdata::readText(runtime + "victim"), "keep");
        }
        EXPECT_FALSE(exists(runtime + "nowhere"));
    }
}

TEST(DataFiles, NamesAndListings) {
    EXPECT_EQ(withoutExtension("Default Configuration.cfg"), "Default Configuration");
    EXPECT_EQ(withoutExtension("a.b.cfg"), "a.b");
    EXPECT_EQ(withoutExtension("plain"), "plain");
    EXPECT_EQ(upToFirstDot("Mars.v2.cfg"), "Mars");
    TempDataDir dir;
    writeText(dir.path() + "d/one.cfg", "1");
    std::filesystem::create_directories(dir.path() + "d/sub");
    std::vector<std::string> all = directoryEntries(dir.path() + "d");
    std::sort(all.begin(), all.end());
    EXPECT_EQ(all, (std::vector<std::string>{"one.cfg", "sub"}));
    EXPECT_EQ(fileEntries(dir.path() + "d"), std::vector<std::string>{"one.cfg"});
    EXPECT_TRUE(directoryEntries(dir.path() + "missing").empty());
}

TEST(DataFiles, ListingsComeInNaturalOrder) {
    const std::vector<std::pair<std::string, std::string>> ordered = {
        {"Asteroid_2", "Asteroid_10"}, {"asteroid_9", "Asteroid_10"}, {"Earth", "mars"},
        {"Moon", "Moon 2"},            {"Io_007", "Io_8"},            {"x1y2", "x1y10"},
        {"2", "a"},                    {"Ring_09", "Ring_9"},        {"Asteroid_99", "Asteroid_100"},
    };
    for (const auto& [first, second] : ordered) {
        EXPECT_TRUE(naturalLess(first, second)) << first << " < " << second;
        EXPECT_FALSE(naturalLess(second, first)) << second << " !< " << first;
    }
    EXPECT_FALSE(naturalLess("Sun", "Sun"));
    TempDataDir dir;
    for (const char* name : {"Asteroid_10.cfg", "Asteroid_2.cfg", "Asteroid_1.cfg", "Comet.cfg"})
        writeText(dir.path() + "Objects/" + name, "1");
    EXPECT_EQ(fileEntries(dir.path() + "Objects"),
              (std::vector<std::string>{"Asteroid_1.cfg", "Asteroid_2.cfg", "Asteroid_10.cfg", "Comet.cfg"}));
}

TEST(DataFiles, RecordingDeletionFollowsTheRecordingLayout) {
    TempDataDir dir;
    const std::string d = dir.path() + "Recordings/Trip/";
    writeText(d + "Trip.vcr", "v");
    writeText(d + "Trip.vcx", "x");  // the simulator's exact replay file goes with it
    writeText(d + "configuration.cfg", "c");
    writeText(d + "Sequence1/Sun.cfg", "s");
    writeText(d + "Sequence1/last_view.cfg", "l");
    writeText(d + "Sequence2/time.cfg", "0");
    ASSERT_TRUE(deleteRecording(dir.path(), "Trip"));
    EXPECT_FALSE(exists(dir.path() + "Recordings/Trip"));
    EXPECT_TRUE(exists(dir.path() + "Recordings"));

    // A gap in the sequence numbers stops the walk; the recording then cannot be removed and is
    // reported as not deleted.
    writeText(d + "Trip.vcr", "v");
    writeText(d + "Sequence1/a.cfg", "a");
    writeText(d + "Sequence3/b.cfg", "b");
    EXPECT_FALSE(deleteRecording(dir.path(), "Trip"));
    EXPECT_FALSE(exists(d + "Trip.vcr"));
    EXPECT_FALSE(exists(d + "Sequence1"));
    EXPECT_TRUE(exists(d + "Sequence3/b.cfg"));
    EXPECT_FALSE(deleteRecording(dir.path(), "Nothing here"));
}

TEST(DataFiles, ScreenshotDeletionTakesOnlyPictures) {
    TempDataDir dir;
    const std::string d = dir.path() + "Screenshots/Set/";
    writeText(d + "Set_1.bmp", "BM");
    writeText(d + "Set_2.bmp", "BM");
    ASSERT_TRUE(deleteScreenshotSet(dir.path(), "Set"));
    EXPECT_FALSE(exists(d));
    writeText(d + "Set_1.bmp", "BM");
    writeText(d + "keep.txt", "k");
    EXPECT_FALSE(deleteScreenshotSet(dir.path(), "Set"));
    EXPECT_TRUE(exists(d + "keep.txt"));
    EXPECT_FALSE(exists(d + "Set_1.bmp"));
    EXPECT_FALSE(deleteFile(dir.path() + "Screenshots"));  // a directory is no file to delete
}
