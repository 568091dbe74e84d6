// Writing many files as one batch: every file replaced atomically, in order, and the first failure
// leaves it and everything after it as it was, with no temporary file left behind.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "stale_temp_files.h"
#include "test_data_dir.h"
#include "text_file.h"

using testdata::TempDataDir;

namespace {

// count object files holding "old", each to be replaced by "new <index>".
std::vector<FileToWrite> objectFilesToReplace(const TempDataDir& dir, int count) {
    std::vector<FileToWrite> files;
    for (int i = 0; i < count; ++i) {
        std::string path = dir / ("Objects/o" + std::to_string(i) + ".cfg");
        testdata::writeText(path, "old");
        files.push_back({path, "new " + std::to_string(i)});
    }
    return files;
}

}  // namespace

TEST(BatchWrite, AllFilesOrNoneFromTheFirstFailureOn) {
    TempDataDir dir;
    std::vector<FileToWrite> files = objectFilesToReplace(dir, 50);
    files.push_back({dir / "time.cfg", "12.5"});
    EXPECT_EQ(writeFilesAtomically(files), files.size());
    for (const FileToWrite& f : files) EXPECT_EQ(testdata::readText(f.path), f.contents);

    // A directory in place of file 20: files 0..19 are written, the rest keep their contents.
    for (FileToWrite& f : files) f.contents += " again";
    std::filesystem::remove(files[20].path);
    std::filesystem::create_directory(files[20].path);
    // (rename() of a file over a directory fails for root too.)
    EXPECT_EQ(writeFilesAtomically(files), 20u);
    for (size_t i = 0; i < files.size(); ++i) {
        if (i == 20) continue;
        std::string expected = i < 20 ? files[i].contents : (i == 50 ? "12.5" : "new " + std::to_string(i));
        EXPECT_EQ(testdata::readText(files[i].path), expected) << i;
    }
    for (const std::string& name : testdata::listFiles(dir / "Objects"))
        EXPECT_EQ(tempFileOwner(name), 0) << name;
}

// A desktop session's usual limit is 1024 descriptors; a thousand objects must save under it, and
// replacing a file must not depend on how many the process already has open.
TEST(BatchWrite, ManyMoreFilesThanTheDescriptorLimit) {
    TempDataDir dir;
    std::vector<FileToWrite> files = objectFilesToReplace(dir, 300);
    rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &saved), 0);
    rlimit low = saved;
    low.rlim_cur = 64;
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &low), 0);
    const size_t written = writeFilesAtomically(files);
    setrlimit(RLIMIT_NOFILE, &saved);
    EXPECT_EQ(written, files.size());
    for (const FileToWrite& f : files) EXPECT_EQ(testdata::readText(f.path), f.contents);
    EXPECT_EQ(testdata::listFiles(dir / "Objects").size(), files.size());
}

TEST(BatchWrite, TemporaryFileNamesAreRecognisedByTheirOwner) {
    EXPECT_EQ(tempFileOwner("Earth.cfg.tmp1234_7"), 1234);
    EXPECT_EQ(tempFileOwner("time.cfg.tmp99"), 99);
    EXPECT_EQ(tempFileOwner(".My Shots_4321.tmp"), 4321);
    EXPECT_EQ(tempFileOwner("Earth.cfg"), 0);
    EXPECT_EQ(tempFileOwner("notes.tmp"), 0);
    EXPECT_EQ(tempFileOwner("a.tmp12x"), 0);
    EXPECT_EQ(tempFileOwner(".tmp12"), 0);
}
