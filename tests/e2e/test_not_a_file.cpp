// Directories, pipes and devices in place of the files the simulator reads: each is refused at once
// with the file message naming the path (a pipe never blocks start-up, /dev/zero is never read
// without end), and nothing in the data directory changes.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "data_dir_snapshot.h"
#include "simulator_runs.h"

using testdata::TempDataDir;

namespace {

// Runs corvane; a run that has not ended after `limit` is killed and reported as exit code -2.
testrun::RunResult runWithin(const std::string& dataDir, std::vector<std::string> options,
                             std::chrono::seconds limit, const std::string& mode = "1") {
    options.push_back(dataDir + "|" + mode);
    testrun::Child child = testrun::start(e2e::kCorvane, options, dataDir);
    auto deadline = std::chrono::steady_clock::now() + limit;
    int status = 0;
    while (waitpid(child.pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(child.pid, SIGKILL);
            waitpid(child.pid, &status, 0);
            testrun::RunResult r;
            r.exitCode = -2;
            r.err = testrun::slurp(child.errPath);
            return r;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    testrun::RunResult r;
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.err = testrun::slurp(child.errPath);
    std::remove(child.outPath.c_str());
    std::remove(child.errPath.c_str());
    return r;
}

enum class Kind { Directory, Fifo, LinkToDevZero, LinkToDirectory };
const Kind kKinds[] = {Kind::Directory, Kind::Fifo, Kind::LinkToDevZero, Kind::LinkToDirectory};
const char* kindName(Kind k) {
    switch (k) {
        case Kind::Directory: return "directory";
        case Kind::Fifo: return "FIFO";
        case Kind::LinkToDevZero: return "link to /dev/zero";
        case Kind::LinkToDirectory: return "link to a directory";
    }
    return "";
}

void replaceWith(const std::string& path, Kind kind, const std::string& spareDir) {
    std::filesystem::remove(path);
    switch (kind) {
        case Kind::Directory: std::filesystem::create_directory(path); break;
        case Kind::Fifo: ASSERT_EQ(mkfifo(path.c_str(), 0600), 0); break;
        case Kind::LinkToDevZero: std::filesystem::create_symlink("/dev/zero", path); break;
        case Kind::LinkToDirectory: std::filesystem::create_directory_symlink(spareDir, path); break;
    }
}

void expectRefused(const testrun::RunResult& r, const std::string& path) {
    EXPECT_EQ(r.exitCode, 255) << r.err;
    EXPECT_NE(r.err.find("Could not process file " + path + "\n"), std::string::npos) << r.err;
}

}  // namespace

TEST(NotAFile, StartUpFilesOfBothModes) {
    const char* files[] = {"Media/Icons/yes64.bmp", "moviefile.cfg", "screenshotfile.cfg", "configfile.cfg",
                           "Configurations/Default Configuration.cfg", "Objects/Moon.cfg", "time.cfg",
                           "last_view.cfg"};
    for (const char* file : files) {
        for (Kind kind : kKinds) {
            SCOPED_TRACE(std::string(file) + " as a " + kindName(kind));
            TempDataDir dir;
            e2e::copyShippedData(dir.path());
            std::filesystem::create_directory(dir / "spare");
            replaceWith(dir / file, kind, dir / "spare");
            e2e::DirSnapshot before = e2e::snapshotFiles(dir.path());
            expectRefused(runWithin(dir.path(), {"--no-render", "--frames", "3"}, std::chrono::seconds(20)),
                          dir / file);
            EXPECT_EQ(e2e::changedFiles(before, e2e::snapshotFiles(dir.path())), "");
        }
    }
}

TEST(NotAFile, RecordingAndScript) {
    for (Kind kind : kKinds) {
        SCOPED_TRACE(kindName(kind));
        TempDataDir dir;
        e2e::copyShippedData(dir.path());
        std::filesystem::create_directory(dir / "spare");
        // Replay: the recording file.
        const std::string vcr = dir / "Recordings/My Movie/My Movie.vcr";
        std::filesystem::create_directories(dir / "Recordings/My Movie");
        std::filesystem::copy_file(dir / "Configurations/Default Configuration.cfg",
                                   dir / "Recordings/My Movie/configuration.cfg");
        testdata::writeText(dir / "moviefile.cfg", "My Movie\n-999\n");
        replaceWith(vcr, kind, dir / "spare");
        expectRefused(runWithin(dir.path(), {"--no-render", "--frames", "3"}, std::chrono::seconds(20), "0"), vcr);
        // The input script: refused with its name before anything runs.
        replaceWith(dir / "script.txt", kind, dir / "spare");
        testrun::RunResult r = runWithin(dir.path(), {"--no-render", "--frames", "3", "--input", dir / "script.txt"},
                                         std::chrono::seconds(20));
        EXPECT_EQ(r.exitCode, 255) << r.err;
        EXPECT_NE(r.err.find(dir / "script.txt"), std::string::npos) << r.err;
    }
}

TEST(NotAFile, MediaOfAWindowlessRenderingRun) {
    // Meshes, the ring texture and the star catalogue are needed: their failure is the file error.
    // A body texture is not: the body is drawn untextured, with a warning naming the file.
    const char* needed[] = {"Media/Models/sphere_mid.x", "Media/Ring Textures/saturn_ring.png", "stars.txt"};
    for (const char* file : needed) {
        for (Kind kind : {Kind::Directory, Kind::Fifo, Kind::LinkToDevZero}) {
            SCOPED_TRACE(std::string(file) + " as a " + kindName(kind));
            TempDataDir dir;
            e2e::copyShippedData(dir.path());
            replaceWith(dir / file, kind, dir.path());
            e2e::DirSnapshot before = e2e::snapshotFiles(dir.path());
            expectRefused(runWithin(dir.path(), {"--headless", "--windowed", "--size", "320x240", "--frames", "2"},
                                    std::chrono::seconds(60)),
                          dir / file);
            EXPECT_EQ(e2e::changedFiles(before, e2e::snapshotFiles(dir.path())), "");
        }
    }
    TempDataDir dir;
    e2e::copyShippedData(dir.path());
    replaceWith(dir / "Media/Textures/earth.jpg", Kind::Fifo, dir.path());
    testrun::RunResult r = runWithin(dir.path(), {"--headless", "--windowed", "--size", "320x240", "--frames", "2"},
                                     std::chrono::seconds(60));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find("warning: " + (dir / "Media/Textures/earth.jpg")), std::string::npos) << r.err;
}

TEST(NotAFile, AMissingDataDirectoryIsReportedAsSuch) {
    TempDataDir dir;
    const std::string missing = dir / "no such data/";
    testrun::RunResult r = testrun::run(e2e::kCorvane, {"--no-render", "--frames", "0", missing + "|1"}, dir.path());
    EXPECT_EQ(r.exitCode, 255);
    EXPECT_NE(r.err.find("the data directory does not exist"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Could not process file " + missing + "\n"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("yes64"), std::string::npos) << r.err;
}
