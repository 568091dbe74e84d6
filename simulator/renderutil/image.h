// An 8-bit RGBA picture in memory, rows top-down, the common currency of the image readers,
// the BMP writer, texture creation and front-buffer captures.
#pragma once

#include <cstdint>
#include <vector>

// The largest picture a reader decodes: a side of 16384 texels and 64 M texels in all (256 MB),
// far above any real texture. A file that declares more is refused before anything is allocated.
inline constexpr int64_t kMaxImageSide = 16384;
inline constexpr int64_t kMaxImagePixels = int64_t{64} << 20;
inline bool imageSizeAllowed(int64_t width, int64_t height) {
    return width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide &&
           width * height <= kMaxImagePixels;
}

struct Image {
    int width = 0;              // pixels
    int height = 0;             // pixels
    std::vector<uint8_t> rgba;  // width * height * 4 bytes: R, G, B, A per pixel, top row first

    bool empty() const { return width <= 0 || height <= 0; }
    // Byte offset of pixel (x, y), with y counted from the top row.
    size_t offset(int x, int y) const {
        return (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 4;
    }
    void resize(int w, int h) {
        width = w;
        height = h;
        rgba.assign(static_cast<size_t>(w) * static_cast<size_t>(h) * 4, 0);
    }
};
