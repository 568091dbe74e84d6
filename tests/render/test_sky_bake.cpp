// Star catalogue reading, the sky projection, the colour table and the baked delivered sky.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <limits>

#include "image_load.h"
#include "sky_bake.h"

namespace {

std::string writeCatalogue(const std::string& name, const std::string& text) {
    auto dir = std::filesystem::temp_directory_path() / ("celestrix_sky_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string path = (dir / name).string();
    std::ofstream(path) << text;
    return path;
}

CatalogueStar star(float raHours, float decDeg, float magnitude, float colorIndex = 0) {
    return {raHours, decDeg, magnitude, colorIndex};
}

}  // namespace

TEST(SkyBake, ProjectionPutsPolesAtTheCentreAndTheEquatorOnTheRim) {
    auto pole = skyTexelFor(star(3, 90, 5));
    ASSERT_TRUE(pole);
    EXPECT_TRUE(pole->north);
    EXPECT_EQ(pole->row, 1023);
    EXPECT_EQ(pole->column, 1023);
    auto southPole = skyTexelFor(star(0, -90, 5));
    ASSERT_TRUE(southPole);
    EXPECT_FALSE(southPole->north);
    EXPECT_EQ(southPole->row, 1023);

    // Declination 0 is the north picture's rim: right ascension 0 at the right edge, 6 h at the bottom.
    auto ra0 = skyTexelFor(star(0, 0, 5));
    ASSERT_TRUE(ra0);
    EXPECT_TRUE(ra0->north);
    EXPECT_EQ(ra0->column, 2047);
    EXPECT_EQ(ra0->row, 1023);
    auto ra6 = skyTexelFor(star(6, 0, 5));
    ASSERT_TRUE(ra6);
    EXPECT_EQ(ra6->row, 2047);
    EXPECT_NEAR(ra6->column, 1023, 1);
    // Halfway in declination is halfway out: t = cos 45 / (cos 45 + sin 45) = 0.5.
    auto mid = skyTexelFor(star(12, -45, 5));
    ASSERT_TRUE(mid);
    EXPECT_FALSE(mid->north);
    EXPECT_NEAR(mid->column, 512, 1);

    EXPECT_FALSE(skyTexelFor(star(1, 95, 2)));
    EXPECT_FALSE(skyTexelFor(star(std::numeric_limits<float>::quiet_NaN(), 10, 2)));
}

TEST(SkyBake, BrightStarsAreCrossesAndLaterStarsWin) {
    SkyPictures sky = bakeSkyPictures({star(3, 90, 3.0f, 0.0f), star(0, 0, 3.01f, 1.0f)});
    // Magnitude 3: five texels around (1023, 1023), white at L = 0.91.
    const uint32_t white = starColorArgb(0.0f, 3.0f);
    EXPECT_EQ(white, 0xFFE8E8E8u);
    for (auto [r, c] : {std::pair{1023, 1023}, {1022, 1023}, {1024, 1023}, {1023, 1022}, {1023, 1024}})
        EXPECT_EQ(pixelArgb(sky.north, c, r), white) << r << "," << c;
    EXPECT_EQ(pixelArgb(sky.north, 1022, 1022), 0xFF000000u);
    // Magnitude 3.01: one texel only.
    EXPECT_EQ(pixelArgb(sky.north, 2047, 1023), starColorArgb(1.0f, 3.01f));
    EXPECT_EQ(pixelArgb(sky.north, 2046, 1023), 0xFF000000u);
    EXPECT_EQ(pixelArgb(sky.north, 2047, 1022), 0xFF000000u);
    EXPECT_EQ(pixelArgb(sky.south, 1023, 1023), 0xFF000000u);

    // Two stars in one texel: the later one's colour stays.
    sky = bakeSkyPictures({star(0, -89.99f, 5, 1.5f), star(0, -89.99f, 6, -0.5f)});
    EXPECT_EQ(pixelArgb(sky.south, 1023, 1023), starColorArgb(-0.5f, 6));
    sky = bakeSkyPictures({});
    EXPECT_EQ(pixelArgb(sky.north, 5, 5), 0xFF000000u);
}

TEST(SkyBake, ColourTableByColourIndex) {
    auto rgb = [](uint32_t c) { return std::array<int, 3>{int(c >> 16 & 255), int(c >> 8 & 255), int(c & 255)}; };
    // Magnitude 0: L = 1.
    EXPECT_EQ(rgb(starColorArgb(0.83f, 0)), (std::array<int, 3>{204, 64, 0}));
    EXPECT_EQ(rgb(starColorArgb(0.82f, 0)), (std::array<int, 3>{204, 255, 0}));
    EXPECT_EQ(rgb(starColorArgb(0.59f, 0)), (std::array<int, 3>{204, 255, 128}));
    EXPECT_EQ(rgb(starColorArgb(0.31f, 0)), (std::array<int, 3>{255, 255, 255}));
    EXPECT_EQ(rgb(starColorArgb(-0.2f, 0)), (std::array<int, 3>{128, 255, 255}));
    // Brightness falls by 3 % per magnitude, clamped to the displayable range.
    EXPECT_EQ(rgb(starColorArgb(0, 10)), (std::array<int, 3>{179, 179, 179}));
    EXPECT_EQ(rgb(starColorArgb(0, -1.46f)), (std::array<int, 3>{255, 255, 255}));
    EXPECT_EQ(rgb(starColorArgb(0, 40)), (std::array<int, 3>{0, 0, 0}));
    EXPECT_EQ(starColorArgb(kNoStarColorIndex, 1), 0xFF000000u);
}

TEST(SkyBake, CatalogueReadingStopsAtTheMarkerOrTheEnd) {
    auto stars = readStarCatalogue(writeCatalogue("a.txt", "1 0.5 10 4.5 0.3\n2 1.5 -20 2.0 1.1\n-999\n3 2 2 2 2\n"));
    ASSERT_TRUE(stars);
    ASSERT_EQ(stars->size(), 2u);
    EXPECT_FLOAT_EQ((*stars)[1].raHours, 1.5f);
    EXPECT_FLOAT_EQ((*stars)[1].decDeg, -20);
    EXPECT_FLOAT_EQ((*stars)[1].magnitude, 2.0f);
    EXPECT_FLOAT_EQ((*stars)[1].colorIndex, 1.1f);

    stars = readStarCatalogue(writeCatalogue("b.txt", "-999\n1 0.5 10 4.5 0.3\n"));
    ASSERT_TRUE(stars);
    EXPECT_TRUE(stars->empty());
    // No marker and a last line without its line end: every whole record is read.
    stars = readStarCatalogue(writeCatalogue("c.txt", "1 0.5 10 4.5 0.3\n2 1 1 1 1"));
    ASSERT_TRUE(stars);
    EXPECT_EQ(stars->size(), 2u);
    // A broken record ends the reading; a truncated one is not half-read.
    stars = readStarCatalogue(writeCatalogue("d.txt", "1 0.5 10 4.5 0.3\n2 x 1 1 1\n3 1 1 1 1\n-999\n"));
    ASSERT_TRUE(stars);
    EXPECT_EQ(stars->size(), 1u);
    stars = readStarCatalogue(writeCatalogue("e.txt", "1 0.5 10 4.5 0.3\n2 1 1\n"));
    ASSERT_TRUE(stars);
    EXPECT_EQ(stars->size(), 1u);
    EXPECT_FALSE(readStarCatalogue("/nonexistent/celestrix/stars.txt"));
}

TEST(SkyBake, BakedDeliveredSkyLightsMoreNorthPixelsThanAQuarterOfItsStars) {
    const std::string path = std::string(CELESTRIX_DATA_SOURCE) + "stars.txt";
    if (!std::filesystem::exists(path)) GTEST_SKIP() << "no stars.txt in the data directory";
    auto stars = readStarCatalogue(path);
    ASSERT_TRUE(stars);
    SkyPictures sky = bakeSkyPictures(*stars);
    size_t lit = 0;
    for (size_t i = 0; i < sky.north.rgba.size(); i += 4) lit += sky.north.rgba[i] | sky.north.rgba[i + 1] | sky.north.rgba[i + 2] ? 1 : 0;
    EXPECT_GT(lit, stars->size() / 4);
}
