// Committing a set of files all at once: the journal refuses anything damaged or out of bounds, a
// start finishes a committed set or drops one that never was, and a process killed at any moment
// of a thousand-file save or default restore leaves the whole old set or the whole new set.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <random>
#include <thread>

#include "default_restore.h"
#include "file_set_commit.h"
#include "stale_temp_files.h"
#include "test_data_dir.h"

using testdata::readText;
using testdata::TempDataDir;
using testdata::writeText;

namespace {

constexpr int kObjects = 1000;

// Where the tests of thousand-file sets run: a kill ends the process, not the machine, so what they prove does not
// depend on the disk, and on a memory file system two hundred saves take seconds, not minutes.
std::string killTestBase() { return testdata::exists("/dev/shm") ? "/dev/shm" : ""; }

std::string objectName(int i) { return "Objects/o" + std::to_string(i) + ".cfg"; }

// The set a save writes: last_view.cfg, the objects, time.cfg, each holding "<tag> <index>".
std::vector<FileToWrite> saveSet(const TempDataDir& dir, const std::string& tag) {
    std::filesystem::create_directories(dir / "Objects");
    std::vector<FileToWrite> files = {{dir / "last_view.cfg", tag + " view"}};
    for (int i = 0; i < kObjects; ++i) files.push_back({dir / objectName(i), tag + " " + std::to_string(i)});
    files.push_back({dir / "time.cfg", tag + " time"});
    return files;
}

// Which tag every file of the set holds; "mix" when they differ, "lost" when one is missing.
std::string setTag(const std::vector<FileToWrite>& set) {
    std::string tag;
    for (const FileToWrite& f : set) {
        if (!testdata::exists(f.path)) return "lost";
        const std::string text = readText(f.path);
        const std::string fileTag = text.substr(0, text.find_first_of(" \n"));
        if (tag.empty()) tag = fileTag;
        if (fileTag != tag) return "mix";
    }
    return tag;
}

// Names a save or restore may leave behind: temporary files and the journal.
std::vector<std::string> leftovers(const TempDataDir& dir) {
    std::vector<std::string> found;
    for (const char* sub : {"", "Objects/", "Configurations/"})
        if (testdata::exists(dir / sub))
        for (const std::string& name : testdata::listFiles(dir / sub))
            if (tempFileOwner(name) != 0 || name == kPendingRenamesName) found.push_back(sub + name);
    return found;
}

// Runs work in a child process and kills it with SIGKILL after delay (or lets it finish when the
// delay is negative). Returns how long the child ran.
std::chrono::microseconds runAndKill(const std::function<void()>& work, std::chrono::microseconds delay) {
    std::fflush(nullptr);  // nothing buffered is written twice
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        work();
        ::_exit(0);
    }
    if (delay.count() >= 0) {
        std::this_thread::sleep_for(delay);
        ::kill(pid, SIGKILL);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
}

// Kills work at 200 random moments spread over its whole length; after each, a start's recovery
// must leave every file of the set wholly old or wholly new and nothing behind. prepare() puts
// the old set in place and returns the set to check and the tag of its new contents.
void killAtRandomMoments(const TempDataDir& dir, const std::function<std::pair<std::vector<FileToWrite>, std::string>()>& prepare,
                         const std::function<void()>& work) {
    prepare();
    const std::chrono::microseconds whole = runAndKill(work, std::chrono::microseconds(-1));
    std::mt19937 random(25);
    std::uniform_int_distribution<long> moment(0, whole.count() * 5 / 4);
    int oldSets = 0, newSets = 0, rolledForward = 0;
    for (int k = 0; k < 200; ++k) {
        const auto [set, newTag] = prepare();
        const std::string oldTag = setTag(set);
        ASSERT_NE(oldTag, newTag);
        runAndKill(work, std::chrono::microseconds(moment(random)));
        if (finishInterruptedCommit(dir.path()).outcome == CommitRecovery::Outcome::RolledForward) ++rolledForward;
        const std::string tag = setTag(set);
        ASSERT_TRUE(tag == oldTag || tag == newTag) << "kill " << k << " left " << tag;
        (tag == newTag ? newSets : oldSets)++;
        ASSERT_EQ(leftovers(dir), std::vector<std::string>{}) << "kill " << k;
    }
    // Kills before the commit, during the renames and after the end all happened.
    std::fflush(stdout);
    std::printf("[          ] 200 kills: %d old sets, %d new sets (%d finished by the next start)\n", oldSets, newSets,
                rolledForward);
    EXPECT_GT(oldSets, 0);
    EXPECT_GT(newSets, 0);
}

}  // namespace

TEST(FileSetCommit, JournalRoundTripsAndRefusesDamage) {
    const std::vector<PendingRename> renames = {{"Objects/Earth.cfg", "Objects/Earth.cfg.tmp123_4"},
                                                {"time.cfg", "time.cfg.tmp123_5"}};
    const std::string good = formatPendingRenames(renames);
    std::optional<std::vector<PendingRename>> parsed = parsePendingRenames(good);
    ASSERT_TRUE(parsed.has_value());
    ASSERT_EQ(parsed->size(), 2u);
    EXPECT_EQ((*parsed)[0].temporary, "Objects/Earth.cfg.tmp123_4");
    EXPECT_EQ((*parsed)[1].target, "time.cfg");

    struct Case {
        const char* what;
        std::string text;
    };
    auto rewritten = [](std::vector<PendingRename> r) { return formatPendingRenames(r); };
    const Case damaged[] = {
        {"cut short", good.substr(0, good.size() / 2)},
        {"no end line", good.substr(0, good.rfind("end "))},
        {"a changed byte", std::string(good).replace(good.find("Earth"), 1, "B")},
        {"empty", ""},
        {"a target outside the data directory", rewritten({{"../escape.cfg", "../escape.cfg.tmp1_1"}})},
        {"an absolute target", rewritten({{"/etc/passwd", "/etc/passwd.tmp1_1"}})},
        {"a temporary name of another file", rewritten({{"time.cfg", "last_view.cfg"}})},
        {"a temporary name without a process", rewritten({{"time.cfg", "time.cfg.tmpx_1"}})},
        {"a count that does not match", std::string(good).replace(good.find("\n2\n"), 3, "\n3\n")},
    };
    for (const Case& c : damaged) EXPECT_FALSE(parsePendingRenames(c.text).has_value()) << c.what;
}

TEST(FileSetCommit, StartFinishesACommittedSetAndDropsAnUncommittedOne) {
    // A process id that is surely gone: a child that has ended.
    const pid_t gone = ::fork();
    if (gone == 0) ::_exit(0);
    ::waitpid(gone, nullptr, 0);
    const std::string tmp = ".tmp" + std::to_string(gone) + "_";

    struct Case {
        const char* what;
        bool journal;        // a journal naming both renames is in place
        bool firstRenamed;   // the first rename was done before the interruption
        bool damaged;        // the journal is damaged
        CommitRecovery::Outcome outcome;
        const char* expected;  // what both targets hold afterwards
    };
    const Case cases[] = {
        {"committed, nothing renamed", true, false, false, CommitRecovery::Outcome::RolledForward, "new"},
        {"committed, half renamed", true, true, false, CommitRecovery::Outcome::RolledForward, "new"},
        {"never committed", false, false, false, CommitRecovery::Outcome::NothingPending, "old"},
        {"damaged journal", true, false, true, CommitRecovery::Outcome::RolledBack, "old"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDataDir dir;
        writeText(dir / "time.cfg", "old");
        writeText(dir / "Objects/Sun.cfg", "old");
        writeText(dir / ("Objects/Sun.cfg" + tmp + "1"), "new");
        writeText(dir / ("time.cfg" + tmp + "2"), "new");
        if (c.firstRenamed) std::filesystem::rename(dir / ("Objects/Sun.cfg" + tmp + "1"), dir / "Objects/Sun.cfg");
        std::string journal = formatPendingRenames({{"Objects/Sun.cfg", "Objects/Sun.cfg" + tmp + "1"},
                                                    {"time.cfg", "time.cfg" + tmp + "2"}});
        if (c.damaged) journal.back() = 'x';
        if (c.journal) writeText(dir / kPendingRenamesName, journal);
        else writeText(dir / (std::string(kPendingRenamesName) + tmp + "3"), journal);  // its write was cut off

        EXPECT_EQ(finishInterruptedCommit(dir.path()).outcome, c.outcome);
        EXPECT_EQ(readText(dir / "Objects/Sun.cfg"), c.expected);
        EXPECT_EQ(readText(dir / "time.cfg"), c.expected);
        EXPECT_EQ(leftovers(dir), std::vector<std::string>{});
    }
}

TEST(FileSetCommit, AFailedFileReplacesNothingAndSaysWhy) {
    TempDataDir dir(killTestBase());
    std::vector<FileToWrite> set = saveSet(dir, "old");
    ASSERT_FALSE(commitFileSet(dir.path(), set).has_value());
    set = saveSet(dir, "new");
    std::filesystem::remove(set[500].path);
    std::filesystem::create_directory(set[500].path);
    std::optional<FileSetFailure> failed = commitFileSet(dir.path(), set);
    ASSERT_TRUE(failed.has_value());
    EXPECT_EQ(failed->path, set[500].path);
    EXPECT_EQ(failed->reason, "Is a directory");
    std::filesystem::remove(set[500].path);
    set.erase(set.begin() + 500);
    EXPECT_EQ(setTag(set), "old");
    EXPECT_EQ(leftovers(dir), std::vector<std::string>{});
    // Nothing outside the data directory is taken into a set.
    EXPECT_TRUE(commitFileSet(dir / "Objects/", {{dir / "time.cfg", "x"}}).has_value());
}

TEST(FileSetCommit, KilledThousandObjectSaveLeavesOneWholeSet) {
    TempDataDir dir(killTestBase());
    ASSERT_FALSE(commitFileSet(dir.path(), saveSet(dir, "g0")).has_value());
    std::string nextTag;
    auto prepare = [&] {
        // Each save writes the generation after the one on disk.
        std::vector<FileToWrite> current = saveSet(dir, "");
        const std::string tag = setTag(current);
        nextTag = "g" + std::to_string(std::stoi(tag.substr(1)) + 1);
        return std::make_pair(current, nextTag);
    };
    killAtRandomMoments(dir, prepare, [&] { commitFileSet(dir.path(), saveSet(dir, nextTag)); });
}

TEST(FileSetCommit, KilledDefaultRestoreLeavesOneWholeSet) {
    TempDataDir dir(killTestBase());
    std::vector<FileToWrite> targets;
    std::string configuration;
    for (const RestoreEntry& e : defaultRestoreSystemFiles()) {
        if (e.target == "Configurations/Default Configuration.cfg") continue;
        writeText(dir / ("Backup Default Config/" + e.source), "backup " + e.source);
        targets.push_back({dir / e.target, ""});
    }
    for (int i = 0; i < kObjects; ++i) {
        configuration += "o" + std::to_string(i) + ".cfg\n";
        writeText(dir / ("Backup Default Config/o" + std::to_string(i) + ".cfg"), "backup " + std::to_string(i));
        targets.push_back({dir / objectName(i), ""});
    }
    // Its first line names an object too, so that the file's first word tells which copy it is.
    writeText(dir / "Backup Default Config/backup", "backup object");
    targets.push_back({dir / "Objects/backup", ""});
    writeText(dir / "Backup Default Config/Default Configuration.cfg", "backup\n" + configuration + "-999\n");
    targets.push_back({dir / "Configurations/Default Configuration.cfg", ""});
    auto prepare = [&] {
        if (setTag(targets) != "working") {
            for (const FileToWrite& t : targets) writeText(t.path, "working");
            writeText(dir / "Configurations/Default Configuration.cfg", "working\n" + configuration + "-999\n");
        }
        return std::make_pair(targets, std::string("backup"));
    };
    killAtRandomMoments(dir, prepare, [&] { restoreDefaultConfiguration(dir.path()); });
}
