// Whatever happens, nothing is lost: one simulator per data directory across runtime directories,
// SIGHUP saving exactly what Esc saves, a start finishing a save that was cut off after its
// commit, crafted meshes and unwritable outputs ending with their reason and exit code 255.
#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "data_dir_snapshot.h"
#include "data_directory_lock.h"
#include "file_set_commit.h"
#include "simulator_runs.h"

using testdata::TempDataDir;

namespace {

// The saved state of a data directory: last_view.cfg, time.cfg and every object file.
std::string savedState(const TempDataDir& dir) {
    std::string all = testdata::readText(dir / "last_view.cfg") + "|" + testdata::readText(dir / "time.cfg");
    for (const std::string& name : testdata::listFiles(dir / "Objects")) all += "|" + name + ":" + testdata::readText(dir / ("Objects/" + name));
    return all;
}

}  // namespace

TEST(OneWriter, SecondSimulatorOnTheSameDataDirectoryIsRefused) {
    TempDataDir dir, otherRuntime;
    e2e::copyShippedData(dir.path());
    testrun::Child first = testrun::start(e2e::kCorvane, {"--no-render", "--fixed-dt", "0.01", "--frames", "100000000", dir.path() + "|1"},
                                          dir.path());
    ASSERT_TRUE(e2e::appears(dir / kDataDirectoryLockName));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const e2e::DirSnapshot before = e2e::snapshotFiles(dir.path());
    testrun::RunResult second = testrun::run(e2e::kCorvane, {"--no-render", "--frames", "1", dir.path() + "|1"},
                                             otherRuntime.path(), {"XDG_RUNTIME_DIR=" + otherRuntime.path()});
    EXPECT_EQ(second.exitCode, 255) << second.err;
    EXPECT_NE(second.err.find("data directory " + dir.path()), std::string::npos) << second.err;
    EXPECT_EQ(e2e::changedFiles(before, e2e::snapshotFiles(dir.path())), "");
    kill(first.pid, SIGTERM);
    testrun::RunResult r = testrun::wait(first);
    EXPECT_EQ(r.exitCode, 0) << r.err;
}

// The run pauses itself at frame 50 (F4), after drawing frame 49; a SIGHUP then ends it. Esc at
// frame 50 in another copy must leave the same files.
TEST(OneWriter, SighupSavesWhatEscSaves) {
    TempDataDir byEsc, bySighup;
    const std::vector<std::string> options = {"--windowed", "--size", "320x240", "--fixed-dt", "0.01", "--frames", "100000",
                                              "--input"};
    e2e::copyShippedData(byEsc.path());
    testdata::writeText(byEsc / "script.txt", "50 key Esc down\n");
    std::vector<std::string> escArgs = options;
    escArgs.push_back(byEsc / "script.txt");
    testrun::RunResult esc = e2e::runCorvane(byEsc.path(), escArgs);
    ASSERT_EQ(esc.exitCode, 0) << esc.err;

    e2e::copyShippedData(bySighup.path());
    testdata::writeText(bySighup / "script.txt", "50 key F4 down\n");
    std::vector<std::string> args = options;
    for (const std::string& a : {bySighup / "script.txt", std::string("--export"), bySighup / "frames", bySighup.path() + "|1"})
        args.push_back(a);
    testrun::Child child = testrun::start(e2e::kCorvane, args, bySighup.path());
    ASSERT_TRUE(e2e::appears(bySighup / "frames/frame_000049.png"));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    kill(child.pid, SIGHUP);
    testrun::RunResult r = testrun::wait(child);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(savedState(bySighup), savedState(byEsc));
}

TEST(OneWriter, StartFinishesASaveCutOffAfterItsCommit) {
    TempDataDir dir;
    e2e::copyShippedData(dir.path());
    // A save that was killed after its journal was in place: time.cfg's new file still waits.
    const std::string temporary = "time.cfg.tmp999999_1";
    testdata::writeText(dir / temporary, "4321");
    testdata::writeText(dir / kPendingRenamesName, formatPendingRenames({{"time.cfg", temporary}}));
    testrun::RunResult r = e2e::runCorvane(dir.path(), {"--no-render", "--frames", "0"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find("completed"), std::string::npos) << r.err;
    EXPECT_FALSE(testdata::exists(dir / kPendingRenamesName));
    EXPECT_FALSE(testdata::exists(dir / temporary));
    EXPECT_GE(std::stod(testdata::readText(dir / "time.cfg")), 4321.0);
}

TEST(OneWriter, CraftedMeshesAndUnwritableOutputsEndWithTheirReason) {
    std::string deepFrames = "xof 0303txt 0032\nFrame \"";
    for (int i = 0; i < 100000; ++i) deepFrames += "Frame f {";
    deepFrames += "\" {\n}\n";
    const std::string farNormal =
        "xof 0303txt 0032\nMesh m {\n3;\n0;0;0;,\n1;0;0;,\n0;1;0;;\n1;\n3;0,1,2;;\n"
        "MeshNormals {\n1;\n0;0;1;;\n1;\n3;0,0,\f99999999;;\n}\n}\n";
    struct Case {
        const char* what;
        std::string meshText;           // replaces the shipped sphere mesh when not empty
        std::vector<std::string> options;
        std::string failedFile;         // relative to the data directory
        const char* reason;
    };
    const std::vector<std::string> drawn = {"--headless", "--windowed", "--size", "320x240", "--frames", "2"};
    const Case cases[] = {
        {"frames nested in a quoted name", deepFrames, drawn, "Media/Models/sphere_mid.x", "quoted name"},
        {"a normal index behind a form feed", farNormal, drawn, "Media/Models/sphere_mid.x", "normal that does not exist"},
        {"a trace into a directory", "", {"--no-render", "--frames", "2", "--trace", "Objects"}, "Objects", "Is a directory"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDataDir dir;
        e2e::copyShippedData(dir.path());
        if (!c.meshText.empty()) testdata::writeText(dir / "Media/Models/sphere_mid.x", c.meshText);
        const e2e::DirSnapshot before = e2e::snapshotFiles(dir.path());
        testrun::RunResult r = e2e::runCorvane(dir.path(), c.options);
        EXPECT_EQ(r.exitCode, 255) << r.err;
        const std::string path = c.failedFile == "Objects" ? "Objects" : dir / c.failedFile;
        EXPECT_NE(r.err.find("Could not process file " + path + "\n"), std::string::npos) << r.err;
        EXPECT_NE(r.err.find(c.reason), std::string::npos) << r.err;
        EXPECT_EQ(e2e::changedFiles(before, e2e::snapshotFiles(dir.path())), "");
    }
}

TEST(OneWriter, RecordsAndOutputsThatCannotBeUsedAreNamedWithTheirReason) {
    TempDataDir dir;
    e2e::copyShippedData(dir.path());
    ASSERT_EQ(e2e::runCorvane(dir.path(), {"--no-render", "--frames", "3"}).exitCode, 0);
    ASSERT_TRUE(testdata::exists(dir / "exact_state.rec"));
    // A damaged exact state record: said so, and the run goes on from the saved files.
    std::string record = testdata::readText(dir / "exact_state.rec");
    record[record.size() / 2] ^= 1;
    testdata::writeText(dir / "exact_state.rec", record);
    testrun::RunResult r = e2e::runCorvane(dir.path(), {"--no-render", "--frames", "1"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find("exact_state.rec is not used, as it is damaged; the run continues from the saved files"),
              std::string::npos)
        << r.err;
    // An export directory that cannot be written is refused before the run.
    if (geteuid() == 0) GTEST_SKIP() << "as root every directory can be written";
    std::filesystem::create_directory(dir / "frames");
    std::filesystem::permissions(dir / "frames", std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    r = e2e::runCorvane(dir.path(), {"--headless", "--windowed", "--size", "320x240", "--frames", "2", "--export", dir / "frames"});
    EXPECT_EQ(r.exitCode, 255) << r.err;
    EXPECT_NE(r.err.find("export directory"), std::string::npos) << r.err;
}
