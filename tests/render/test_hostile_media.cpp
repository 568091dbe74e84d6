// Media files as an attacker would craft them: indices out of range, deep nesting, absurd picture
// sizes, and things that are not files at all. Each load fails with a reason and nothing crashes,
// blocks or allocates what the file asks for.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "bmp_file.h"
#include "image_load.h"
#include "sky_bake.h"
#include "test_data_dir.h"
#include "x_mesh.h"

using testdata::TempDataDir;

namespace {

const std::string kData = CELESTRIX_DATA_SOURCE;

uint32_t crc32Of(const std::string& bytes) {
    uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char b : bytes) {
        crc ^= b;
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void putBigEndian(std::string& s, size_t at, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) s[at + static_cast<size_t>(i)] = static_cast<char>(v >> (8 * (bytes - 1 - i)));
}

// The sphere mesh with the first index of its first normal face replaced.
std::string meshWithNormalIndex(const std::string& index) {
    std::string x = testdata::readText(kData + "Media/Models/sphere_lo.x");
    size_t normals = x.find("MeshNormals");
    size_t first = x.find("3;", x.find(";;", normals));  // the first normal face, after the normals
    size_t comma = x.find(',', first);
    return x.substr(0, first + 2) + index + x.substr(comma);
}

// Names of the things that are not regular files, made in dir.
std::vector<std::string> notRegularFiles(const TempDataDir& dir) {
    std::filesystem::create_directory(dir / "a directory");
    mkfifo((dir / "a fifo").c_str(), 0600);
    std::filesystem::create_symlink("/dev/zero", dir / "a link to dev zero");
    std::filesystem::create_directory_symlink(dir / "a directory", dir / "a link to a directory");
    return {dir / "a directory", dir / "a fifo", dir / "a link to dev zero", dir / "a link to a directory"};
}

}  // namespace

TEST(HostileMedia, CraftedMeshesAreRefusedBeforeTheImporterSeesThem) {
    TempDataDir dir;
    struct Case {
        const char* what;
        std::string text;
    };
    std::string nested = "xof 0303txt 0032\n";
    for (int i = 0; i < 10000; ++i) nested += "Frame f {\n";
    for (int i = 0; i < 10000; ++i) nested += "}\n";
    std::string sphere = testdata::readText(kData + "Media/Models/sphere_lo.x");
    std::string faceOutOfRange = sphere;
    size_t faces = faceOutOfRange.find("3;", faceOutOfRange.find(";;"));
    faceOutOfRange.replace(faces, 3, "3;153");  // one past the last of 153 vertices
    std::string infinite = sphere;
    infinite.replace(infinite.find("0.000000;2.314170"), 8, "1e999");
    std::string binary = sphere;
    binary.replace(8, 4, "bin ");
    const Case cases[] = {
        {"normal index 2147483647", meshWithNormalIndex("2147483647")},
        {"normal index -1", meshWithNormalIndex("-1")},
        {"10000 nested frames", nested},
        {"face index past the vertices", faceOutOfRange},
        {"vertex beyond the float range", infinite},
        {"vertex count far beyond the list", "xof 0303txt 0032\nMesh m { 2000000000; 0;0;0;; 0;; }\n"},
        {"unclosed block", "xof 0303txt 0032\nMesh m { 1; 0;0;0;; 0;;\n"},
        {"binary header", binary},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        testdata::writeText(dir / "m.x", c.text);
        XMeshLoadResult r = loadXMesh(dir / "m.x");
        EXPECT_FALSE(r.mesh.has_value());
        EXPECT_FALSE(r.error.empty());
    }
    // The shipped meshes pass the same checks.
    for (const char* name : {"sphere_lo.x", "sphere_mid.x", "sphere_hi.x"}) {
        XMeshLoadResult r = loadXMesh(kData + "Media/Models/" + name);
        EXPECT_TRUE(r.mesh.has_value()) << name << ": " << r.error;
    }
}

TEST(HostileMedia, PicturesDeclaringHugeSizesAreRefusedBeforeDecoding) {
    TempDataDir dir;
    // A PNG whose header says 1,000,000 x 1,000,000 pixels (with a correct checksum).
    std::string png = testdata::readText(kData + "Media/Ring Textures/saturn_ring.png");
    putBigEndian(png, 16, 1000000, 4);
    putBigEndian(png, 20, 1000000, 4);
    putBigEndian(png, 29, crc32Of(png.substr(12, 17)), 4);
    testdata::writeText(dir / "huge.png", png);
    // A JPEG whose frame header says 65500 x 65500.
    std::string jpeg = testdata::readText(kData + "Media/Textures/earth.jpg");
    size_t sof = jpeg.find("\xFF\xC0");
    if (sof == std::string::npos) sof = jpeg.find("\xFF\xC2");
    ASSERT_NE(sof, std::string::npos);
    putBigEndian(jpeg, sof + 5, 65500, 2);
    putBigEndian(jpeg, sof + 7, 65500, 2);
    testdata::writeText(dir / "huge.jpg", jpeg);
    // A BMP of 16385 x 1 pixels: one side beyond the limit.
    Image wide;
    wide.resize(16385, 1);
    ASSERT_TRUE(writeBmp32(dir / "wide.bmp", wide));

    for (const char* name : {"huge.png", "huge.jpg", "wide.bmp"}) {
        std::string error;
        EXPECT_FALSE(loadImageFile(dir / name, &error).has_value()) << name;
        EXPECT_NE(error.find(dir / name), std::string::npos) << error;
    }
    Image image;
    EXPECT_FALSE(readBmp(dir / "wide.bmp", image));

    // A JPEG cut off in its headers is a libjpeg error; the decoder's memory is freed (seen under ASan).
    testdata::writeText(dir / "cut.jpg", testdata::readText(kData + "Media/Textures/earth.jpg").substr(0, 300));
    EXPECT_FALSE(loadImageFile(dir / "cut.jpg").has_value());
}

TEST(HostileMedia, EveryReaderRefusesWhatIsNotARegularFileAtOnce) {
    TempDataDir dir;
    for (const std::string& path : notRegularFiles(dir)) {
        SCOPED_TRACE(path);
        std::string error;
        EXPECT_FALSE(loadImageFile(path, &error).has_value());
        EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
        Image image;
        EXPECT_FALSE(readBmp(path, image));
        XMeshLoadResult mesh = loadXMesh(path);
        EXPECT_FALSE(mesh.mesh.has_value());
        EXPECT_NE(mesh.error.find("not a regular file"), std::string::npos) << mesh.error;
        EXPECT_FALSE(readStarCatalogue(path).has_value());
    }
}
