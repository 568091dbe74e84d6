// Leftovers of killed runs are cleaned up, and the single-instance lock reports what really went
// wrong and is never kept by a message box.
#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "simulator_runs.h"

using testdata::TempDataDir;

namespace {

std::vector<std::pair<std::string, SimObject>> starAndObserver() {
    return {{"Star", testdata::minimalStar()}, {"Ship", testdata::minimalObserver()}};
}

// A process id that no process has: a child that has been reaped.
pid_t deadPid() {
    pid_t pid = fork();
    if (pid == 0) _exit(0);
    waitpid(pid, nullptr, 0);
    return pid;
}

// As the program spells it: the runtime directory (here with its final "/"), "/", the name.
std::string lockPath(const std::string& dir) { return dir + "/corvane-" + std::to_string(getuid()) + ".lock"; }

// The process ids whose parent is pid.
std::vector<pid_t> childrenOf(pid_t pid) {
    std::vector<pid_t> children;
    for (const auto& e : std::filesystem::directory_iterator("/proc")) {
        std::string name = e.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        std::ifstream stat(e.path() / "stat");
        std::string line;
        std::getline(stat, line);
        size_t close = line.rfind(')');
        if (close == std::string::npos) continue;
        char state = 0;
        long parent = 0;
        if (std::sscanf(line.c_str() + close + 1, " %c %ld", &state, &parent) == 2 && parent == pid)
            children.push_back(static_cast<pid_t>(std::stol(name)));
    }
    return children;
}

bool processAlive(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line)) return false;
    size_t close = line.rfind(')');
    return close != std::string::npos && line[close + 2] != 'Z';
}

}  // namespace

TEST(Leftovers, TemporaryFilesOfDeadRunsAreRemovedAndNothingElse) {
    TempDataDir dir;
    testdata::writeLiveDataDir(dir.path(), starAndObserver());
    const std::string dead = std::to_string(deadPid());
    const std::string alive = std::to_string(getpid());
    const std::vector<std::string> stale = {"Objects/Star.cfg.tmp" + dead + "_0", "time.cfg.tmp" + dead + "_12",
                                            "Configurations/Test.cfg.tmp" + dead + "_3",
                                            "Screenshots/Shots/.Shots_" + dead + ".tmp",
                                            "Screenshots/Shots/Shots_4.bmp.tmp" + dead};
    const std::vector<std::string> kept = {"Objects/Ship.cfg.tmp" + alive + "_0", "notes.tmp", "Objects/x.tmpfile",
                                           "Objects/Star.cfg.tmp" + dead + "_0x"};
    for (const std::string& f : stale) testdata::writeText(dir / f, "half");
    for (const std::string& f : kept) testdata::writeText(dir / f, "keep");
    testrun::RunResult r = e2e::runCorvane(dir.path(), {"--no-render", "--frames", "0"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    for (const std::string& f : stale) EXPECT_FALSE(testdata::exists(dir / f)) << f;
    for (const std::string& f : kept) EXPECT_TRUE(testdata::exists(dir / f)) << f;
}

TEST(InstanceLock, ALockFileThatCannotBeCreatedIsReportedAsSuch) {
    TempDataDir dir;
    testdata::writeLiveDataDir(dir.path(), starAndObserver());
    std::filesystem::create_directory(lockPath(dir.path()));
    std::string timeBefore = testdata::readText(dir / "time.cfg");
    testrun::RunResult r = e2e::runCorvane(dir.path(), {"--no-render", "--frames", "3"});
    EXPECT_EQ(r.exitCode, 255);
    EXPECT_EQ(r.err.find("already running"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Corvane cannot create its lock file " + lockPath(dir.path())), std::string::npos) << r.err;
    EXPECT_EQ(testdata::readText(dir / "time.cfg"), timeBefore);
}

TEST(InstanceLock, AnErrorBoxNeitherHoldsTheLockNorOutlivesAKilledSimulator) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X display for a real message box";
    TempDataDir dir;
    testdata::writeLiveDataDir(dir.path(), starAndObserver());
    std::filesystem::remove(dir / "time.cfg");  // a fatal file error with a box
    // Boxes on: the test helpers switch them off, so this run is started by hand.
    std::string display = std::string("DISPLAY=") + std::getenv("DISPLAY");
    std::string runtime = "XDG_RUNTIME_DIR=" + dir.path();
    std::string xauth = std::string("XAUTHORITY=") + (std::getenv("XAUTHORITY") ? std::getenv("XAUTHORITY") : "");
    std::vector<std::string> envStore = {display, runtime, xauth, "SDL_VIDEODRIVER=x11", "PATH=/usr/bin:/bin"};
    std::vector<char*> envp;
    for (auto& e : envStore) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::vector<std::string> argStore = {e2e::kCorvane, "--windowed", dir.path() + "|1"};
    std::vector<char*> argv;
    for (auto& a : argStore) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, 2, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addchdir_np(&fa, dir.path().c_str());
    pid_t pid = -1;
    ASSERT_EQ(posix_spawn(&pid, e2e::kCorvane.c_str(), &fa, nullptr, argv.data(), envp.data()), 0);
    posix_spawn_file_actions_destroy(&fa);

    // Wait for the box's process (SDL shows X11 boxes from a child).
    std::vector<pid_t> box;
    for (int i = 0; i < 1000 && box.empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        box = childrenOf(pid);
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) GTEST_SKIP() << "no box was shown on this display";
    }
    if (box.empty()) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        GTEST_SKIP() << "the box is shown without a child process here";
    }
    // While the box stands, a new simulator may start: the lock is not held.
    testrun::RunResult second = e2e::runCorvane(dir.path(), {"--no-render", "--frames", "0"});
    EXPECT_EQ(second.err.find("already running"), std::string::npos) << second.err;

    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    bool gone = false;
    for (int i = 0; i < 500 && !gone; ++i) {
        gone = true;
        for (pid_t child : box) gone = gone && !processAlive(child);
        if (!gone) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(gone) << "the box outlived the simulator";
    for (pid_t child : box) kill(child, SIGKILL);
}
