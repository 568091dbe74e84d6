// Rasterising the printable characters of a font into a square glyph picture with FreeType and
// fontconfig, laid out row by row, with the texture coordinates of every character.
#pragma once

#include <array>
#include <string>

#include "image.h"

struct GlyphAtlas {
    unsigned textureSize = 0;  // texels, square
    float textScale = 1.0f;    // < 1 when the wanted size exceeded the device's maximum
    int spacingPx = 0;         // blank kept on each side of every glyph
    // Texels per screen-space unit: the glyphs were rasterised this many times larger than the
    // font's own size (a whole factor), for a device that draws screen space scaled by it.
    int pixelRatio = 1;
    // Texture coordinates (left, top, right, bottom) of the characters 32..127; 127 stays zero.
    std::array<std::array<float, 4>, 96> glyphs{};
    Image texels;              // white, alpha = 4-bit coverage scaled to 0..255 (a * 17)
    std::string fontFile;      // the face fontconfig chose
};

// Texture size by font height in points: > 60 gives 2048, > 30 1024, > 15 512, else 256.
unsigned glyphTextureSize(unsigned heightPt);

// Pixel height of a font height in points at 96 dpi times the text scale, rounded as the
// classic MulDiv rounds (half away from zero).
int glyphPixelHeight(unsigned heightPt, float textScale);

// flags: bit 0 bold, bit 1 italic. maxTextureSize limits the texture (0 = no limit).
// pixelRatio (1, 2, 3) asks for glyphs that many times larger than the font's size: a face with
// an embedded strike of exactly that size, or an outline-only face, gives them (atlas.pixelRatio
// is then pixelRatio); a bitmap face without such a strike keeps its own size (atlas.pixelRatio
// 1), and the scaled drawing magnifies its texels by the whole factor.
// False when fontconfig finds no face or FreeType cannot open it.
bool rasterizeGlyphAtlas(const std::string& faceName, unsigned heightPt, unsigned flags,
                         int maxTextureSize, GlyphAtlas& atlas, int pixelRatio = 1);
