// The launcher's finder of the pristine data and of the simulator, in installed and build trees.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include "install_layout.h"
#include "install_support.h"
#include "test_data_dir.h"

namespace fs = std::filesystem;
using testdata::TempDataDir;
using testdata::writeText;

namespace {

TEST(InstallLayout, FindsInstalledDataBesideTheProgramsElseTheBuildTreesSource) {
    TempDataDir dir;
    const fs::path prefix = dir / "usr";
    fs::create_directories(prefix / "bin");
    // No data anywhere yet.
    EXPECT_FALSE(install_layout::pristineDataDirectory(prefix / "bin"));
    EXPECT_FALSE(install_layout::pristineDataDirectory(""));

    // A folder named share/celestrix counts only once it holds the data.
    fs::create_directories(prefix / "share/celestrix");
    EXPECT_FALSE(install_layout::pristineDataDirectory(prefix / "bin"));
    writeText((prefix / "share/celestrix/configfile.cfg").string(), "Default Configuration\n-999\n");
    EXPECT_EQ(install_layout::pristineDataDirectory(prefix / "bin"), prefix / "share/celestrix");

    // A build tree: the marker beside the programs names the source data.
    const fs::path build = dir / "build";
    const fs::path source = dir / "src/data";
    fs::create_directories(build);
    writeText((source / "configfile.cfg").string(), "Default Configuration\n-999\n");
    writeText((build / install_layout::kSourceDataMarker).string(), source.string() + "\r\n");
    EXPECT_EQ(install_layout::pristineDataDirectory(build), source);

    // A marker that names nothing usable leaves the launcher without pristine data, not with a
    // wrong folder.
    for (const std::string& marker : {std::string(""), std::string("\n"), dir / "src\n", dir / "gone\n"}) {
        writeText((build / install_layout::kSourceDataMarker).string(), marker);
        EXPECT_FALSE(install_layout::pristineDataDirectory(build)) << marker;
    }
    // A pipe or a folder in the marker's place is refused at once (a pipe would block a stream).
    fs::remove(build / install_layout::kSourceDataMarker);
    ASSERT_EQ(::mkfifo((build / install_layout::kSourceDataMarker).c_str(), 0600), 0);
    EXPECT_FALSE(install_layout::pristineDataDirectory(build));
    fs::remove(build / install_layout::kSourceDataMarker);
    fs::create_directories(build / install_layout::kSourceDataMarker);
    EXPECT_FALSE(install_layout::pristineDataDirectory(build));
}

TEST(InstallLayout, ThisBuildTreeFindsTheSourceDataAndItsOwnFolder) {
    std::optional<fs::path> data = install_layout::pristineDataDirectory(install_test::kBinaryDir);
    ASSERT_TRUE(data);
    EXPECT_TRUE(fs::equivalent(*data, CELESTRIX_DATA_SOURCE));

    const fs::path self = install_layout::executableDirectory();
    ASSERT_FALSE(self.empty());
    EXPECT_TRUE(fs::exists(self / "test_install"));
}

TEST(InstallLayout, TheSimulatorIsBesideTheLauncherUnlessTheEnvironmentNamesOne) {
    const char* saved = std::getenv("CELESTRIX_SIMULATOR");
    const std::string restore = saved ? saved : "";
    ::unsetenv("CELESTRIX_SIMULATOR");
    EXPECT_EQ(install_layout::simulatorPath("/opt/x/bin"), fs::path("/opt/x/bin/corvane"));
    ::setenv("CELESTRIX_SIMULATOR", "", 1);  // set but empty: as if unset
    EXPECT_EQ(install_layout::simulatorPath("/opt/x/bin"), fs::path("/opt/x/bin/corvane"));
    ::setenv("CELESTRIX_SIMULATOR", "/elsewhere/corvane-debug", 1);
    EXPECT_EQ(install_layout::simulatorPath("/opt/x/bin"), fs::path("/elsewhere/corvane-debug"));
    if (saved)
        ::setenv("CELESTRIX_SIMULATOR", restore.c_str(), 1);
    else
        ::unsetenv("CELESTRIX_SIMULATOR");
}

}  // namespace
