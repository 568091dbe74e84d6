// PNG encoding through libpng's simplified interface, into memory, then an atomic file write.
#include "png_file.h"

#include <png.h>

#include <cstring>
#include <vector>

#include "text_file.h"

bool encodePngRgb(const Image& image, std::string& bytes) {
    if (image.empty() || image.rgba.size() != static_cast<size_t>(image.width) * image.height * 4)
        return false;
    std::vector<uint8_t> rgb(static_cast<size_t>(image.width) * image.height * 3);
    for (size_t p = 0, n = rgb.size() / 3; p < n; ++p) std::memcpy(&rgb[p * 3], &image.rgba[p * 4], 3);

    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.width);
    png.height = static_cast<png_uint_32>(image.height);
    png.format = PNG_FORMAT_RGB;
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&png, nullptr, &size, 0, rgb.data(), 0, nullptr) || size == 0)
        return false;
    std::string out(size, '\0');
    if (!png_image_write_to_memory(&png, out.data(), &size, 0, rgb.data(), 0, nullptr)) return false;
    out.resize(size);
    bytes = std::move(out);
    return true;
}

bool writePngRgb(const std::string& path, const Image& image) {
    std::string bytes;
    return encodePngRgb(image, bytes) && writeFileAtomically(path, bytes);
}
