// Glyph rasterisation for TextFont: fontconfig picks the face file, FreeType renders antialiased
// glyphs white on black, and the coverage becomes 4-bit alpha.
#include "glyph_atlas.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cctype>
#include <cmath>
#include <vector>

namespace {

constexpr int kLogicalDpi = 96;

// The face fontconfig matches for a family, with its family name.
std::string matchFontFile(const std::string& family, bool bold, bool italic, int& faceIndex,
                          std::string& matchedFamily) {
    if (!FcInit()) return {};
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    std::string file;
    if (match) {
        FcChar8* path = nullptr;
        if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path)
            file = reinterpret_cast<const char*>(path);
        int index = 0;
        if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch) faceIndex = index;
        FcChar8* name = nullptr;
        if (FcPatternGetString(match, FC_FAMILY, 0, &name) == FcResultMatch && name)
            matchedFamily = reinterpret_cast<const char*>(name);
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return file;
}

bool sameFamily(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return std::tolower(x) == std::tolower(y); });
}

// The texts were laid out for "Terminal", a raster face of small fixed cells. Where no face of
// that name is installed, Terminus (a bitmap-style monospace face with embedded strikes) takes
// its place before fontconfig's general monospace substitute.
std::string findFontFile(const std::string& faceName, bool bold, bool italic, int& faceIndex) {
    std::string family;
    std::string file = matchFontFile(faceName, bold, italic, faceIndex, family);
    if (!file.empty() && sameFamily(family, faceName)) return file;
    if (sameFamily(faceName, "Terminal")) {
        for (const char* substitute : {"Terminus (TTF)", "Terminus"}) {
            int index = 0;
            std::string substituteFamily;
            std::string found = matchFontFile(substitute, bold, italic, index, substituteFamily);
            if (!found.empty() && sameFamily(substituteFamily, substitute)) {
                faceIndex = index;
                return found;
            }
        }
    }
    return file;
}

struct FtLibrary {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    ~FtLibrary() {
        if (face) FT_Done_Face(face);
        if (library) FT_Done_FreeType(library);
    }
};

// Extent of a character as the text extent of one character: advance width and line height.
struct Extent {
    int cx = 0, cy = 0;
};

int lineHeightOf(FT_Face face) {
    return static_cast<int>((face->size->metrics.ascender + 63) >> 6) +
           static_cast<int>((-face->size->metrics.descender + 63) >> 6);
}

// Sets the face's size so that a text row is as tall as a raster face's cell of the wanted pixel
// height. A face with embedded strikes uses the largest strike not above that height (else its
// smallest), so glyphs stay crisp; an outline face shrinks until its rows fit the height.
bool setCellSize(FT_Face face, int pixelHeight) {
    if (FT_HAS_FIXED_SIZES(face) && face->num_fixed_sizes > 0) {
        int best = 0, smallest = 0;
        for (int i = 0; i < face->num_fixed_sizes; ++i) {
            const int ppem = static_cast<int>((face->available_sizes[i].y_ppem + 32) >> 6);
            if (ppem <= 0) continue;
            if (ppem <= pixelHeight && ppem > best) best = ppem;
            if (smallest == 0 || ppem < smallest) smallest = ppem;
        }
        const int chosen = best > 0 ? best : smallest;
        if (chosen > 0 && FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(chosen)) == 0) return true;
    }
    for (int size = pixelHeight; size >= 1; --size) {
        if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(size)) != 0) return false;
        if (lineHeightOf(face) <= pixelHeight || size == 1) return true;
    }
    return false;
}

// Enlarges the face's chosen size by a whole factor where the face can give crisp glyphs of that
// size; returns the factor reached (the factor, or 1 when the size stays).
int enlargeCellSize(FT_Face face, int factor) {
    if (factor <= 1) return 1;
    const int ppem = face->size->metrics.y_ppem;
    const int wanted = ppem * factor;
    if (FT_HAS_FIXED_SIZES(face) && face->num_fixed_sizes > 0) {
        for (int i = 0; i < face->num_fixed_sizes; ++i) {
            if (static_cast<int>((face->available_sizes[i].y_ppem + 32) >> 6) == wanted &&
                FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(wanted)) == 0)
                return factor;
        }
        return 1;
    }
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(wanted)) == 0) return factor;
    FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(ppem));
    return 1;
}

}  // namespace

unsigned glyphTextureSize(unsigned heightPt) {
    if (heightPt > 60) return 2048;
    if (heightPt > 30) return 1024;
    if (heightPt > 15) return 512;
    return 256;
}

int glyphPixelHeight(unsigned heightPt, float textScale) {
    const long long dpi = static_cast<long long>(static_cast<float>(kLogicalDpi) * textScale);
    const long long product = static_cast<long long>(heightPt) * dpi;
    return static_cast<int>((product + 36) / 72);
}

bool rasterizeGlyphAtlas(const std::string& faceName, unsigned heightPt, unsigned flags,
                         int maxTextureSize, GlyphAtlas& atlas, int pixelRatio) {
    atlas = GlyphAtlas{};
    atlas.textScale = 1.0f;
    unsigned size = glyphTextureSize(heightPt);
    if (maxTextureSize > 0 && static_cast<unsigned>(maxTextureSize) < size) {
        atlas.textScale = static_cast<float>(maxTextureSize) / static_cast<float>(size);
        size = static_cast<unsigned>(maxTextureSize);
    }
    atlas.textureSize = size;

    int faceIndex = 0;
    atlas.fontFile = findFontFile(faceName, flags & 1u, flags & 2u, faceIndex);
    if (atlas.fontFile.empty()) return false;
    FtLibrary ft;
    if (FT_Init_FreeType(&ft.library) != 0) return false;
    if (FT_New_Face(ft.library, atlas.fontFile.c_str(), faceIndex, &ft.face) != 0) return false;
    const int pixelHeight = std::max(1, glyphPixelHeight(heightPt, atlas.textScale));
    if (!setCellSize(ft.face, pixelHeight)) return false;
    int ascent = static_cast<int>((ft.face->size->metrics.ascender + 63) >> 6);
    const int descent = static_cast<int>((-ft.face->size->metrics.descender + 63) >> 6);
    int lineHeight = ascent + descent;
    // Larger glyphs keep the cells of the font's own size times the factor, so that texts are
    // laid out exactly as at that size (a larger strike's rounded metrics may differ by a row).
    atlas.pixelRatio = enlargeCellSize(ft.face, pixelRatio);
    ascent *= atlas.pixelRatio;
    lineHeight *= atlas.pixelRatio;

    auto extentOf = [&](char ch) {
        Extent e;
        e.cy = lineHeight;
        if (FT_Load_Char(ft.face, static_cast<unsigned char>(ch), FT_LOAD_DEFAULT) == 0)
            e.cx = static_cast<int>((ft.face->glyph->advance.x + 32) >> 6);
        return e;
    };

    atlas.spacingPx = static_cast<int>(std::ceil(0.3 * extentOf(' ').cy));
    // The texture size by height assumes narrow bitmap glyphs; a wider outline face may need
    // more rows than that. Grow the texture until every glyph's cell lies inside it.
    auto fits = [&](int texSize) {
        int fx = atlas.spacingPx, fy = 0;
        for (int ch = 32; ch < 127; ++ch) {
            const Extent e = extentOf(static_cast<char>(ch));
            if (fx + e.cx + atlas.spacingPx > texSize) {
                fx = atlas.spacingPx;
                fy += e.cy + 1;
            }
            if (fy + e.cy > texSize) return false;
            fx += e.cx + 2 * atlas.spacingPx;
        }
        return true;
    };
    while (!fits(static_cast<int>(size)) && size < 4096) size *= 2;
    atlas.textureSize = size;

    // Coverage picture, white text on black; only the blue channel matters for the alpha.
    const int s = static_cast<int>(size);
    std::vector<uint8_t> coverage(static_cast<size_t>(s) * static_cast<size_t>(s), 0);
    const int spacing = atlas.spacingPx;
    int x = spacing, y = 0;
    const float fs = static_cast<float>(s);
    for (int ch = 32; ch < 127; ++ch) {
        const Extent e = extentOf(static_cast<char>(ch));
        if (x + e.cx + spacing > s) {
            x = spacing;
            y += e.cy + 1;
        }
        // Draw the glyph into its cell (the cell is black already: drawn opaquely).
        if (FT_Load_Char(ft.face, static_cast<FT_ULong>(ch), FT_LOAD_RENDER | FT_LOAD_TARGET_NORMAL) == 0) {
            const FT_Bitmap& bm = ft.face->glyph->bitmap;
            const int left = x + ft.face->glyph->bitmap_left;
            const int top = y + ascent - ft.face->glyph->bitmap_top;
            for (unsigned row = 0; row < bm.rows; ++row) {
                const int py = top + static_cast<int>(row);
                if (py < 0 || py >= s) continue;
                // Enlarged glyphs stay inside their cells (their strike may reach a row lower).
                if (atlas.pixelRatio > 1 && (py < y || py >= y + e.cy)) continue;
                for (unsigned col = 0; col < bm.width; ++col) {
                    const int px = left + static_cast<int>(col);
                    if (px < 0 || px >= s) continue;
                    uint8_t value = 0;
                    if (bm.pixel_mode == FT_PIXEL_MODE_GRAY)
                        value = bm.buffer[static_cast<long>(row) * bm.pitch + col];
                    else if (bm.pixel_mode == FT_PIXEL_MODE_MONO)
                        value = (bm.buffer[static_cast<long>(row) * bm.pitch + col / 8] >> (7 - col % 8)) & 1 ? 255 : 0;
                    uint8_t& dst = coverage[static_cast<size_t>(py) * static_cast<size_t>(s) + static_cast<size_t>(px)];
                    dst = std::max(dst, value);
                }
            }
        }
        atlas.glyphs[static_cast<size_t>(ch - 32)] = {
            static_cast<float>(x - spacing) / fs, static_cast<float>(y) / fs,
            static_cast<float>(x + e.cx + spacing) / fs, static_cast<float>(y + e.cy) / fs};
        x += e.cx + 2 * spacing;
    }

    // 4-bit alpha from the coverage; texels without coverage are fully transparent black.
    atlas.texels.resize(s, s);
    for (size_t i = 0; i < coverage.size(); ++i) {
        const uint8_t a = coverage[i] >> 4;
        if (a == 0) continue;
        uint8_t* t = &atlas.texels.rgba[i * 4];
        t[0] = t[1] = t[2] = 255;
        t[3] = static_cast<uint8_t>(a * 17);
    }
    return true;
}
