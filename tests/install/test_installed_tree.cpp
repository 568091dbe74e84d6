// `cmake --install` into a scratch prefix (DESTDIR): the layout of a Linux desktop program, and
// the installed simulator running on a user's copy of the installed data without ever writing
// under the prefix.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "install_support.h"
#include "test_data_dir.h"

namespace fs = std::filesystem;
using namespace install_test;
using testdata::TempDataDir;

namespace {

// Installs this build under DESTDIR=stage with the prefix /usr; returns the staged prefix.
std::string installInto(const std::string& stage) {
    testrun::RunResult r = testrun::run(CMAKE_COMMAND_PATH, {"--install", kBinaryDir, "--prefix", "/usr"}, kBinaryDir,
                                        {"DESTDIR=" + stage});
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    return stage + "/usr/";
}

TEST(InstalledTree, HasTheUsualLayoutWithTheWholePristineDataReadOnly) {
    TempDataDir dir;
    const std::string prefix = installInto(dir / "stage");

    struct stat st {};
    ASSERT_EQ(::stat((prefix + "bin/corvane").c_str(), &st), 0);
    EXPECT_TRUE(st.st_mode & S_IXOTH);
    EXPECT_TRUE(fs::is_regular_file(prefix + "share/man/man6/corvane.6.gz"));
    EXPECT_TRUE(fs::is_regular_file(prefix + "share/doc/celestrix/LICENSE"));
    EXPECT_TRUE(fs::is_regular_file(prefix + "share/doc/celestrix/CREDITS"));

    // Every file of the source tree's data, nothing more, nothing less (names with spaces too).
    const std::string installed = prefix + "share/celestrix/";
    EXPECT_EQ(filesUnder(installed), filesUnder(CELESTRIX_DATA_SOURCE));
    EXPECT_EQ(testdata::readText(installed + "Media/Ring Textures/saturn_ring.png"),
              testdata::readText(std::string(CELESTRIX_DATA_SOURCE) + "Media/Ring Textures/saturn_ring.png"));
    // Only the owner (root, for a package) may write, and no data file is executable.
    for (const std::string& file : filesUnder(installed)) {
        ASSERT_EQ(::stat((installed + file).c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0644u) << file;
    }

    const std::vector<std::string> launcherFiles = {
        "bin/celestrix",
        "share/man/man6/celestrix.6.gz",
        "share/applications/" + kAppId + ".desktop",
        "share/metainfo/" + kAppId + ".metainfo.xml",
        "share/icons/hicolor/48x48/apps/celestrix.png",
        "share/icons/hicolor/scalable/apps/celestrix.svg",
    };
    for (const std::string& file : launcherFiles)
        EXPECT_EQ(fs::exists(prefix + file), kHasLauncher) << file;
    if (kHasLauncher) {
        // The installed catalogue entry with the menu entry and icons it refers to.
        testrun::RunResult r = shell("appstreamcli validate-tree --no-net " + quote(dir / "stage"));
        EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    }
}

TEST(InstalledTree, SimulatorRunsOnAUsersCopyAndNothingUnderThePrefixChanges) {
    TempDataDir dir;
    const std::string stage = dir / "stage";
    const std::string prefix = installInto(stage);
    const std::string corvane = prefix + "bin/corvane";
    const auto before = snapshot(stage);

    // The user's data directory, made from the installed pristine data as on the first start.
    const std::string home = dir / "home";
    const std::string data = home + "/.local/share/celestrix/";
    copyTree(prefix + "share/celestrix", data);
    const std::string timeBefore = testdata::readText(data + "time.cfg");

    testrun::RunResult r = testrun::run(corvane, {"--version"}, data);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(firstLine(r.out), "corvane (Celestrix) " + kVersion);

    // Simulation only, then with offscreen drawing: the media named by the objects load from the
    // copy. Both live runs save their state into the copy.
    const std::vector<std::string> env = {"HOME=" + home, "XDG_DATA_HOME=" + home + "/.local/share"};
    r = testrun::run(corvane, {"--no-render", "--fixed-dt", "0.05", "--frames", "40", data + "|1"}, data, env);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(testdata::readText(data + "time.cfg"), timeBefore);
    r = testrun::run(corvane,
                     {"--headless", "--windowed", "--size", "320x240", "--fixed-dt", "0.05", "--frames", "3", data + "|1"},
                     data, env);
    EXPECT_EQ(r.exitCode, 0) << r.err;

    if (kHasLauncher) {
        r = testrun::run(prefix + "bin/celestrix", {"--version"}, data, {"QT_QPA_PLATFORM=offscreen"});
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(firstLine(r.out), "celestrix (Celestrix) " + kVersion);
    }
    EXPECT_EQ(snapshot(stage), before);
}

}  // namespace
