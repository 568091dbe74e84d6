// BMP reading and writing: round trips, the 24-bit, 8-bit paletted, top-down and 32-bit layouts,
// refusal of malformed files, and the atomic replacement of the target file.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "bmp_file.h"

namespace {

std::string tempDir() {
    char pattern[] = "/tmp/bmp_test_XXXXXX";
    const char* dir = mkdtemp(pattern);
    return dir ? dir : "/tmp";
}

void put16(std::string& s, unsigned v) {
    s.push_back(static_cast<char>(v & 0xFF));
    s.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void put32(std::string& s, uint32_t v) {
    for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// A BITMAPINFOHEADER file with the given pixel rows (already padded) and palette.
std::string makeBmp(int width, int height, int bits, const std::string& palette,
                    const std::string& pixels) {
    std::string s = "BM";
    const uint32_t offset = 54 + static_cast<uint32_t>(palette.size());
    put32(s, offset + static_cast<uint32_t>(pixels.size()));
    put32(s, 0);
    put32(s, offset);
    put32(s, 40);
    put32(s, static_cast<uint32_t>(width));
    put32(s, static_cast<uint32_t>(height));
    put16(s, 1);
    put16(s, static_cast<unsigned>(bits));
    put32(s, 0);
    put32(s, static_cast<uint32_t>(pixels.size()));
    put32(s, 0);
    put32(s, 0);
    put32(s, static_cast<uint32_t>(palette.size() / 4));
    put32(s, 0);
    return s + palette + pixels;
}

bool decode(const std::string& bytes, Image& image) {
    return decodeBmp(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), image);
}

std::array<int, 4> px(const Image& img, int x, int y) {
    const size_t o = img.offset(x, y);
    return {img.rgba[o], img.rgba[o + 1], img.rgba[o + 2], img.rgba[o + 3]};
}

TEST(BmpFile, Write32ThenReadGivesTheSamePixelsAndAlpha) {
    Image img;
    img.resize(3, 2);
    for (size_t i = 0; i < img.rgba.size(); ++i) img.rgba[i] = static_cast<uint8_t>(i * 11 + 1);
    const std::string path = tempDir() + "/shot.bmp";
    ASSERT_TRUE(writeBmp32(path, img));
    Image back;
    ASSERT_TRUE(readBmp(path, back));
    EXPECT_EQ(back.width, 3);
    EXPECT_EQ(back.height, 2);
    EXPECT_EQ(back.rgba, img.rgba);
    // Encoding again gives the same bytes.
    std::string a, b;
    ASSERT_TRUE(encodeBmp32(img, a));
    ASSERT_TRUE(encodeBmp32(back, b));
    EXPECT_EQ(a, b);
    EXPECT_EQ(a.size(), 54u + 3 * 2 * 4);
}

TEST(BmpFile, Reads24BitPalettedAndTopDownLayouts) {
    // 24-bit, 2 x 2, bottom-up: first row in the file is the bottom row; rows padded to 8 bytes.
    std::string rows;
    rows += std::string("\x00\x00\xFF\x00\xFF\x00", 6) + std::string(2, '\0');  // bottom: red, green
    rows += std::string("\xFF\x00\x00\xFF\xFF\xFF", 6) + std::string(2, '\0');  // top: blue, white
    Image img;
    ASSERT_TRUE(decode(makeBmp(2, 2, 24, "", rows), img));
    EXPECT_EQ(px(img, 0, 1), (std::array<int, 4>{255, 0, 0, 255}));
    EXPECT_EQ(px(img, 1, 1), (std::array<int, 4>{0, 255, 0, 255}));
    EXPECT_EQ(px(img, 0, 0), (std::array<int, 4>{0, 0, 255, 255}));
    EXPECT_EQ(px(img, 1, 0), (std::array<int, 4>{255, 255, 255, 255}));

    // The same file marked top-down (negative height) puts the first file row on top.
    Image topDown;
    ASSERT_TRUE(decode(makeBmp(2, -2, 24, "", rows), topDown));
    EXPECT_EQ(px(topDown, 0, 0), (std::array<int, 4>{255, 0, 0, 255}));

    // 8-bit paletted, 3 x 1, two palette entries (B, G, R, 0).
    const std::string palette("\x10\x20\x30\x00\xC0\xB0\xA0\x00", 8);
    Image pal;
    ASSERT_TRUE(decode(makeBmp(3, 1, 8, palette, std::string("\x01\x00\x01\x00", 4)), pal));
    EXPECT_EQ(px(pal, 0, 0), (std::array<int, 4>{0xA0, 0xB0, 0xC0, 255}));
    EXPECT_EQ(px(pal, 1, 0), (std::array<int, 4>{0x30, 0x20, 0x10, 255}));

    // 32-bit with an all-zero fourth byte reads as opaque.
    Image opaque;
    ASSERT_TRUE(decode(makeBmp(1, 1, 32, "", std::string("\x01\x02\x03\x00", 4)), opaque));
    EXPECT_EQ(px(opaque, 0, 0), (std::array<int, 4>{3, 2, 1, 255}));
}

TEST(BmpFile, MalformedFilesAreRefusedWithoutTouchingTheImage) {
    Image img;
    img.resize(1, 1);
    img.rgba = {9, 9, 9, 9};
    const std::string rows(8, '\0');
    const std::string good = makeBmp(2, 1, 24, "", rows);
    EXPECT_FALSE(decode(good.substr(0, good.size() - 1), img));      // pixels cut short
    EXPECT_FALSE(decode(good.substr(0, 20), img));                   // header cut short
    EXPECT_FALSE(decode("XM" + good.substr(2), img));                // not a BMP
    EXPECT_FALSE(decode(makeBmp(0, 1, 24, "", rows), img));          // no width
    EXPECT_FALSE(decode(makeBmp(2, 1, 16, "", rows), img));          // unsupported depth
    EXPECT_FALSE(decode(makeBmp(100000, 100000, 24, "", rows), img));  // absurd size
    std::string rle = good;
    rle[30] = 1;  // BI_RLE8
    EXPECT_FALSE(decode(rle, img));
    EXPECT_EQ(img.width, 1);
    EXPECT_EQ(img.rgba, (std::vector<uint8_t>{9, 9, 9, 9}));
    EXPECT_FALSE(readBmp("/nonexistent/dir/x.bmp", img));
}

TEST(BmpFile, FailedWriteLeavesTheOldFileAndNoTemporary) {
    const std::string dir = tempDir();
    const std::string path = dir + "/keep.bmp";
    Image img;
    img.resize(2, 2);
    ASSERT_TRUE(writeBmp32(path, img));
    struct stat before {};
    ASSERT_EQ(stat(path.c_str(), &before), 0);
    EXPECT_FALSE(writeBmp32(path, Image{}));  // nothing to write
    EXPECT_FALSE(writeBmp32(dir + "/missing/x.bmp", img));
    struct stat after {};
    ASSERT_EQ(stat(path.c_str(), &after), 0);
    EXPECT_EQ(before.st_size, after.st_size);
    // Replacing works and leaves a single file behind.
    img.resize(4, 4);
    ASSERT_TRUE(writeBmp32(path, img));
    ASSERT_EQ(stat(path.c_str(), &after), 0);
    EXPECT_EQ(after.st_size, 54 + 4 * 4 * 4);
    const std::string cmd = "test $(ls '" + dir + "' | wc -l) -eq 1";
    EXPECT_EQ(std::system(cmd.c_str()), 0);
}

}  // namespace
