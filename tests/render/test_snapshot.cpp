// Snapshot folders, numbering by the count of bitmaps, never overwriting, the current directory.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "bmp_file.h"
#include "snapshot.h"

namespace fs = std::filesystem;

namespace {

fs::path freshDataDir(const std::string& name) {
    fs::path dir = fs::temp_directory_path() / ("celestrix_snap_" + std::to_string(::getpid())) / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

Image frame(uint8_t red) {
    Image image;
    image.resize(4, 3);
    for (size_t i = 0; i < image.rgba.size(); i += 4) image.rgba[i] = red, image.rgba[i + 3] = 255;
    return image;
}

std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

TEST(Snapshot, NumbersByBitmapCountAndCreatesFolders) {
    const fs::path data = freshDataDir("a");
    const fs::path cwd = fs::current_path();
    SnapshotResult r = takeSnapshot(data.string() + "/", "Trip", frame(10));
    ASSERT_TRUE(r.written) << r.error;
    EXPECT_EQ(fs::path(r.path), data / "Screenshots" / "Trip" / "Trip_0.bmp");
    EXPECT_EQ(fs::current_path(), cwd);
    r = takeSnapshot(data.string() + "/", "Trip", frame(20));
    EXPECT_EQ(fs::path(r.path).filename(), "Trip_1.bmp");
    Image back;
    ASSERT_TRUE(readBmp(r.path, back));
    EXPECT_EQ(back.width, 4);
    EXPECT_EQ(back.rgba[0], 20);
    // Other bitmaps count towards the number; other files do not; no temporary file stays.
    std::ofstream(data / "Screenshots" / "Trip" / "holiday.BMP") << "x";
    std::ofstream(data / "Screenshots" / "Trip" / "notes.txt") << "x";
    r = takeSnapshot(data.string() + "/", "Trip", frame(30));
    EXPECT_EQ(fs::path(r.path).filename(), "Trip_3.bmp");
    size_t entries = 0;
    for (auto& e : fs::directory_iterator(data / "Screenshots" / "Trip")) entries += e.is_regular_file() ? 1 : 0;
    EXPECT_EQ(entries, 5u);
}

TEST(Snapshot, NeverOverwritesAnExistingSnapshot) {
    const fs::path data = freshDataDir("b");
    const fs::path folder = data / "Screenshots" / "Run";
    fs::create_directories(folder);
    // After Run_0 was deleted, the count is 1 but Run_1.bmp exists.
    std::ofstream(folder / "Run_1.bmp") << "keep me";
    std::ofstream(folder / "Run_2.bmp") << "keep me too";
    SnapshotResult r = takeSnapshot(data.string(), "Run", frame(1));
    ASSERT_TRUE(r.written);
    EXPECT_EQ(fs::path(r.path).filename(), "Run_3.bmp");
    EXPECT_EQ(slurp(folder / "Run_1.bmp"), "keep me");
    EXPECT_EQ(slurp(folder / "Run_2.bmp"), "keep me too");
}

TEST(Snapshot, BadTitlesAndFramesAreErrors) {
    const fs::path data = freshDataDir("c");
    for (std::string bad : {std::string(), std::string("../escape"), std::string("a/b"), std::string("a\\b"), std::string(".hidden"), std::string("tab\there")}) {
        SnapshotResult r = takeSnapshot(data.string(), bad, frame(1));
        EXPECT_FALSE(r.written) << bad;
        EXPECT_FALSE(r.error.empty());
    }
    EXPECT_FALSE(fs::exists(data / "escape"));
    EXPECT_FALSE(takeSnapshot(data.string(), "Ok", Image{}).written);
    EXPECT_FALSE(takeSnapshot("/nonexistent/celestrix/", "Ok", frame(1)).written);
    EXPECT_TRUE(isSafeSnapshotTitle("My trip 2"));
}
