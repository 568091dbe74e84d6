// Star catalogue reading and sky picture baking.
#include "sky_bake.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

#include "text_file.h"

namespace {

constexpr float kDegToRad = 0.017453292f;
constexpr float kHoursToRad = 0.2617994f;
constexpr float kHalfPi = 1.5707964f;
constexpr float kQuarterPi = 0.7853982f;

uint8_t toByte(float c) {
    c = std::clamp(c, 0.0f, 1.0f);
    return static_cast<uint8_t>(c * 255.0f + 0.5f);
}

void putTexel(Image& image, int row, int column, uint32_t argb) {
    if (row < 0 || column < 0 || row >= image.height || column >= image.width) return;
    uint8_t* p = image.rgba.data() + image.offset(column, row);
    p[0] = static_cast<uint8_t>(argb >> 16);
    p[1] = static_cast<uint8_t>(argb >> 8);
    p[2] = static_cast<uint8_t>(argb);
    p[3] = static_cast<uint8_t>(argb >> 24);
}

Image blackPicture() {
    Image image;
    image.resize(kSkyTextureSize, kSkyTextureSize);
    for (size_t i = 3; i < image.rgba.size(); i += 4) image.rgba[i] = 255;
    return image;
}

}  // namespace

std::optional<std::vector<CatalogueStar>> readStarCatalogue(const std::string& path) {
    std::string text;
    if (!readWholeFile(path, text)) return std::nullopt;
    // Count the lines before the end marker.
    size_t lineCount = 0;
    for (size_t pos = 0; pos < text.size();) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(pos, std::min<size_t>(end - pos, 32));
        if (std::strtol(line.c_str(), nullptr, 10) == -999) break;
        ++lineCount;
        pos = end + 1;
    }
    std::vector<CatalogueStar> stars;
    stars.reserve(lineCount);
    const char* p = text.c_str();
    for (size_t i = 0; i < lineCount; ++i) {
        float values[5];
        bool ok = true;
        for (float& value : values) {
            char* next = nullptr;
            errno = 0;
            value = std::strtof(p, &next);
            if (next == p) {
                ok = false;
                break;
            }
            p = next;
        }
        if (!ok) {
            // The sky shows the records read so far; say where the rest was lost.
            size_t line = 1 + static_cast<size_t>(std::count(text.c_str(), p, '\n'));
            std::fprintf(stderr, "corvane: warning: %s, line %zu: not a star record; the sky shows the %zu stars before it\n",
                         path.c_str(), line, stars.size());
            break;
        }
        stars.push_back({values[1], values[2], values[3], values[4]});
    }
    return stars;
}

std::optional<SkyTexel> skyTexelFor(const CatalogueStar& star) {
    if (!std::isfinite(star.raHours) || !std::isfinite(star.decDeg) || !std::isfinite(star.magnitude) ||
        !std::isfinite(star.colorIndex) || std::fabs(star.decDeg) > 90.0f)
        return std::nullopt;
    const float absDec = std::fabs(star.decDeg) * kDegToRad;
    // t = cos|D| / (cos|D| + sin|D|): 0 at a pole, 1 on the equator, matching the cone.
    const float t = std::sin(kHalfPi - absDec) / (std::sin(absDec + kQuarterPi) * 1.4142135f);
    const float u = t * std::cos(star.raHours * kHoursToRad);
    const float v = t * std::sin(star.raHours * kHoursToRad);
    SkyTexel texel;
    texel.north = star.decDeg >= 0;
    texel.cross = star.magnitude <= 3.0f;
    if (texel.cross) {
        texel.row = static_cast<int>((v + 1.0f) * 1022.5f + 1.0f);
        texel.column = static_cast<int>((u + 1.0f) * 1022.5f + 1.0f);
    } else {
        texel.row = static_cast<int>((v + 1.0f) * 1023.5f);
        texel.column = static_cast<int>((u + 1.0f) * 1023.5f);
    }
    if (texel.row < 0 || texel.column < 0 || texel.row >= kSkyTextureSize || texel.column >= kSkyTextureSize)
        return std::nullopt;
    return texel;
}

uint32_t starColorArgb(float colorIndex, float magnitude) {
    if (colorIndex == kNoStarColorIndex) return 0xFF000000u;
    const float l = 1.0f - 0.03f * magnitude;
    float r, g, b;
    if (colorIndex > 0.82f) {
        r = 0.8f * l, g = 0.25f * l, b = 0;
    } else if (colorIndex > 0.59f) {
        r = 0.8f * l, g = l, b = 0;
    } else if (colorIndex > 0.31f) {
        r = 0.8f * l, g = l, b = 0.5f * l;
    } else if (colorIndex > -0.2f) {
        r = l, g = l, b = l;
    } else {
        r = 0.5f * l, g = l, b = l;
    }
    return 0xFF000000u | (uint32_t{toByte(r)} << 16) | (uint32_t{toByte(g)} << 8) | toByte(b);
}

SkyPictures bakeSkyPictures(const std::vector<CatalogueStar>& stars) {
    SkyPictures pictures{blackPicture(), blackPicture()};
    for (const CatalogueStar& star : stars) {
        const std::optional<SkyTexel> texel = skyTexelFor(star);
        if (!texel) continue;
        Image& image = texel->north ? pictures.north : pictures.south;
        const uint32_t color = starColorArgb(star.colorIndex, star.magnitude);
        putTexel(image, texel->row, texel->column, color);
        if (texel->cross) {
            putTexel(image, texel->row, texel->column - 1, color);
            putTexel(image, texel->row, texel->column + 1, color);
            putTexel(image, texel->row - 1, texel->column, color);
            putTexel(image, texel->row + 1, texel->column, color);
        }
    }
    return pictures;
}
