// Picture loading by content (PNG, JPEG, BMP), colour keys and function-filled pictures.
#include <gtest/gtest.h>
#include <jpeglib.h>
#include <png.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "bmp_file.h"
#include "image_load.h"

namespace {

std::string tempPath(const std::string& name) {
    auto dir = std::filesystem::temp_directory_path() / ("celestrix_image_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    return (dir / name).string();
}

Image fourPixels() {
    Image image;
    image.resize(2, 2);
    const uint8_t px[16] = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 128};
    std::copy(px, px + 16, image.rgba.begin());
    return image;
}

void writePng(const std::string& path, const Image& image) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.width);
    png.height = static_cast<png_uint_32>(image.height);
    png.format = PNG_FORMAT_RGBA;
    ASSERT_TRUE(png_image_write_to_file(&png, path.c_str(), 0, image.rgba.data(), 0, nullptr));
}

void writeJpeg(const std::string& path, int w, int h, uint8_t r, uint8_t g, uint8_t b, bool progressive = false) {
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    jpeg_compress_struct info;
    jpeg_error_mgr err;
    info.err = jpeg_std_error(&err);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, f);
    info.image_width = static_cast<JDIMENSION>(w);
    info.image_height = static_cast<JDIMENSION>(h);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    if (progressive) {
        jpeg_simple_progression(&info);
        for (int c = 0; c < info.num_components; ++c) info.comp_info[c].h_samp_factor = info.comp_info[c].v_samp_factor = 1;
    }
    jpeg_start_compress(&info, TRUE);
    std::vector<uint8_t> row(static_cast<size_t>(w) * 3);
    for (int x = 0; x < w; ++x) row[x * 3] = r, row[x * 3 + 1] = g, row[x * 3 + 2] = b;
    while (info.next_scanline < info.image_height) {
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::fclose(f);
}

}  // namespace

TEST(ImageLoad, DecodesPngJpegAndBmpByContent) {
    const Image source = fourPixels();
    // PNG under a misleading extension is still recognised by its signature.
    const std::string png = tempPath("picture.jpg");
    writePng(png, source);
    std::optional<Image> a = loadImageFile(png);
    ASSERT_TRUE(a);
    EXPECT_EQ(a->width, 2);
    EXPECT_EQ(a->rgba, source.rgba);

    const std::string jpg = tempPath("picture.jpeg");
    writeJpeg(jpg, 8, 4, 200, 40, 40);
    std::optional<Image> b = loadImageFile(jpg);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->width, 8);
    EXPECT_EQ(b->height, 4);
    EXPECT_NEAR(b->rgba[0], 200, 4);
    EXPECT_NEAR(b->rgba[1], 40, 4);
    EXPECT_EQ(b->rgba[3], 255);

    const std::string bmp = tempPath("picture.bmp");
    ASSERT_TRUE(writeBmp32(bmp, source));
    std::optional<Image> c = loadImageFile(bmp);
    ASSERT_TRUE(c);
    EXPECT_EQ(pixelArgb(*c, 0, 0), 0xFFFF0000u);
    EXPECT_EQ(pixelArgb(*c, 0, 1), 0xFF0000FFu);
}

TEST(ImageLoad, BadFilesAreErrorsNotCrashes) {
    std::string error;
    EXPECT_FALSE(loadImageFile(tempPath("missing.png"), &error));
    EXPECT_NE(error.find("missing.png"), std::string::npos);

    // A PNG signature followed by garbage, and a truncated JPEG.
    const std::string badPng = tempPath("bad.png");
    std::ofstream(badPng, std::ios::binary) << "\x89PNG\r\n\x1a\n garbage garbage";
    EXPECT_FALSE(loadImageFile(badPng, &error));
    const std::string jpg = tempPath("whole.jpg");
    writeJpeg(jpg, 16, 16, 1, 2, 3);
    std::ifstream in(jpg, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string cut = tempPath("cut.jpg");
    std::ofstream(cut, std::ios::binary) << bytes.substr(0, bytes.size() / 3);
    // libjpeg pads a truncated stream with a warning; whatever it does, no crash and a sane size.
    if (std::optional<Image> part = loadImageFile(cut)) {
        EXPECT_EQ(part->width, 16);
    }

    const std::string text = tempPath("notes.txt");
    std::ofstream(text) << "not a picture";
    EXPECT_FALSE(loadImageFile(text, &error));
}

// A progressive JPEG is decoded through a buffer of all its coefficients: one of a few hundred bytes
// that declares 8192 x 8192 full-size components (inside the pixel limit) would take 384 MB for
// it, and is refused before anything that size is allocated; a small one decodes.
TEST(ImageLoad, ProgressiveJpegIsBoundedByItsCoefficientMemory) {
    const std::string small = tempPath("progressive.jpg");
    writeJpeg(small, 16, 16, 10, 200, 30, true);
    std::optional<Image> decoded = loadImageFile(small);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->width, 16);

    std::ifstream in(small, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const size_t sof = bytes.find("\xFF\xC2");
    ASSERT_NE(sof, std::string::npos);
    for (size_t at : {sof + 5, sof + 7}) bytes[at] = '\x20', bytes[at + 1] = '\x00';  // height, width: 8192
    const std::string huge = tempPath("huge_progressive.jpg");
    std::ofstream(huge, std::ios::binary) << bytes;
    std::string error;
    EXPECT_FALSE(loadImageFile(huge, &error));
    EXPECT_NE(error.find("decoding memory"), std::string::npos) << error;
}

TEST(ImageLoad, ColorKeyAndFunctionFill) {
    Image image = fourPixels();
    applyColorKey(image, 0xFF00FF00u);  // opaque green
    EXPECT_EQ(pixelArgb(image, 1, 0), 0u);
    EXPECT_EQ(pixelArgb(image, 0, 0), 0xFFFF0000u);
    applyColorKey(image, 0xFFFFFFFFu);  // white at alpha 128 does not match an opaque key
    EXPECT_EQ(pixelArgb(image, 1, 1), 0x80FFFFFFu);

    // Texel centres: (x + 0.5) / w.
    Image filled = makeImage(4, 2, [](float u, float v) {
        return 0xFF000000u | (static_cast<uint32_t>(u * 100) << 8) | static_cast<uint32_t>(v * 100);
    });
    EXPECT_EQ(pixelArgb(filled, 0, 0), 0xFF000000u | (12u << 8) | 25u);
    EXPECT_EQ(pixelArgb(filled, 3, 1), 0xFF000000u | (87u << 8) | 75u);
    EXPECT_TRUE(makeImage(0, 5, [](float, float) { return 0u; }).empty());
}
