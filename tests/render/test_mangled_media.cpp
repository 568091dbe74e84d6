// The readers of media and the star catalogue, fed with shipped files cut short and with bytes
// changed at random (fixed seeds): each file is read or refused, never read past its end, and
// whatever is read stays inside its own bounds.
#include <gtest/gtest.h>

#include <cmath>

#include "bmp_file.h"
#include "image_load.h"
#include "mangled_text.h"
#include "sky_bake.h"
#include "test_data_dir.h"
#include "x_mesh.h"

namespace {

const std::string kData = CELESTRIX_DATA_SOURCE;

}  // namespace

TEST(MangledMedia, BitmapsDecodeToConsistentImagesOrFail) {
    for (const char* name : {"Media/Icons/background32.bmp", "Media/Icons/bullseye128.bmp"}) {
        const std::string bytes = testdata::readText(kData + name);
        for (const std::string& b : testdata::mangledVariants(bytes, 21, 300)) {
            Image image;
            if (decodeBmp(reinterpret_cast<const uint8_t*>(b.data()), b.size(), image)) {
                ASSERT_GT(image.width, 0);
                ASSERT_GT(image.height, 0);
                ASSERT_EQ(image.rgba.size(), static_cast<size_t>(image.width) * image.height * 4);
            }
        }
    }
}

TEST(MangledMedia, ImagesAndMeshesLoadOrReportAnError) {
    testdata::TempDataDir dir;
    const std::string bmpBytes = testdata::readText(kData + "Media/Icons/destination64.bmp");
    for (const std::string& b : testdata::mangledVariants(bmpBytes, 2, 60)) {
        testdata::writeText(dir / "icon.bmp", b);
        std::string error;
        if (!loadImageFile(dir / "icon.bmp", &error)) {
            EXPECT_FALSE(error.empty());
        }
    }
    const std::string mesh = testdata::readText(kData + "Media/Models/sphere_lo.x");
    for (const std::string& text : testdata::mangledVariants(mesh, 13, 150)) {
        testdata::writeText(dir / "mesh.x", text);
        XMeshLoadResult r = loadXMesh(dir / "mesh.x");
        if (!r.mesh) {
            EXPECT_FALSE(r.error.empty());
            continue;
        }
        // What loads is fit to draw: every index names a vertex.
        for (uint32_t index : r.mesh->indices) ASSERT_LT(index, r.mesh->vertices.size());
    }
}

TEST(MangledMedia, CatalogueStarsLandInsideTheSkyPictures) {
    testdata::TempDataDir dir;
    // The brightest few hundred stars, plus records with numbers no catalogue should hold.
    const std::string head = testdata::readText(kData + "stars.txt").substr(0, 12000);
    const std::string extremes =
        "1 24.0 90.0 -30 0\n2 -1 -90.0 1 1\n3 1e30 1e30 1e30 1e30\n4 nan nan nan nan\n"
        "5 inf -inf 0 0\n6 23.99999 -89.99999 3.0 -999\n";
    std::vector<CatalogueStar> all;
    for (const std::string& text : testdata::mangledVariants(extremes + head, 31, 200)) {
        testdata::writeText(dir / "stars.txt", text);
        std::optional<std::vector<CatalogueStar>> stars = readStarCatalogue(dir / "stars.txt");
        ASSERT_TRUE(stars);
        for (const CatalogueStar& star : *stars) {
            if (std::optional<SkyTexel> t = skyTexelFor(star)) {
                ASSERT_GE(t->row, 0);
                ASSERT_LT(t->row, kSkyTextureSize);
                ASSERT_GE(t->column, 0);
                ASSERT_LT(t->column, kSkyTextureSize);
            }
        }
        all.insert(all.end(), stars->begin(), stars->end());
    }
    const SkyPictures pictures = bakeSkyPictures(all);
    EXPECT_EQ(pictures.north.width, kSkyTextureSize);
    EXPECT_EQ(pictures.south.height, kSkyTextureSize);
}
