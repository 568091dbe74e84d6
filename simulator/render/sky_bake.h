// The star catalogue (stars.txt) and its baking into the two sky pictures, one per celestial
// hemisphere, with the projection that matches the sky's double cone.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "image.h"

constexpr int kSkyTextureSize = 2048;     // texels per side of each sky picture
constexpr float kNoStarColorIndex = -999;  // a B-V of exactly this value draws black

struct CatalogueStar {
    float raHours = 0;     // right ascension
    float decDeg = 0;      // declination
    float magnitude = 0;   // visual magnitude
    float colorIndex = 0;  // B-V
};

// Reads stars.txt: the stars are the records of five numbers (catalogue number, right ascension
// in hours, declination in degrees, magnitude, B-V) on the lines before the first line whose
// leading integer is -999. Reading stops at the end of the file when there is no such line, and
// at the first record that is not five numbers. Nothing when the file cannot be opened.
std::optional<std::vector<CatalogueStar>> readStarCatalogue(const std::string& path);

// Where a star lands: hemisphere, the texel (row = picture row, column = picture column) and
// whether it is drawn as a five-texel cross (magnitude 3 or brighter).
struct SkyTexel {
    bool north = true;
    int row = 0;
    int column = 0;
    bool cross = false;
};
// Nothing for a star whose numbers are not finite or fall outside the picture.
std::optional<SkyTexel> skyTexelFor(const CatalogueStar& star);

// The colour (0xAARRGGBB, opaque) of a texel holding a star of this B-V and magnitude.
uint32_t starColorArgb(float colorIndex, float magnitude);

struct SkyPictures {
    Image north;
    Image south;
};
// Both pictures, black where no star is; a later star overwrites an earlier one in a texel.
SkyPictures bakeSkyPictures(const std::vector<CatalogueStar>& stars);
