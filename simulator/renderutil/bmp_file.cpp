// BMP decoding and encoding with bounds checks on every read of the file's bytes.
// Writing goes to a temporary file in the target's directory, renamed over the target.
#include "bmp_file.h"

#include "text_file.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include <unistd.h>

namespace {

uint32_t readU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}
uint16_t readU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

void putU32(std::string& s, uint32_t v) {
    for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
void putU16(std::string& s, uint16_t v) {
    s.push_back(static_cast<char>(v & 0xFF));
    s.push_back(static_cast<char>(v >> 8));
}


}  // namespace

bool decodeBmp(const uint8_t* data, size_t size, Image& image) {
    if (!data || size < 14 + 12 || data[0] != 'B' || data[1] != 'M') return false;
    const uint32_t pixelOffset = readU32(data + 10);
    const uint32_t headerSize = readU32(data + 14);
    if (headerSize < 12 || 14 + static_cast<uint64_t>(headerSize) > size) return false;
    int64_t width = 0, height = 0;
    uint16_t bits = 0;
    uint32_t compression = 0, paletteCount = 0;
    size_t paletteEntryBytes = 4;
    if (headerSize == 12) {  // OS/2 core header
        width = readU16(data + 18);
        height = static_cast<int16_t>(readU16(data + 20));
        bits = readU16(data + 24);
        paletteEntryBytes = 3;
    } else {
        if (headerSize < 40) return false;
        width = static_cast<int32_t>(readU32(data + 18));
        height = static_cast<int32_t>(readU32(data + 22));
        bits = readU16(data + 28);
        compression = readU32(data + 30);
        paletteCount = readU32(data + 46);
    }
    const bool topDown = height < 0;
    if (topDown) height = -height;
    if (!imageSizeAllowed(width, height)) return false;
    // BI_RGB, or BI_BITFIELDS with the standard masks for 32-bit pictures.
    if (compression != 0 && !(compression == 3 && bits == 32)) return false;
    if (bits != 8 && bits != 24 && bits != 32) return false;

    std::vector<uint8_t> palette;  // B, G, R per entry
    if (bits == 8) {
        if (paletteCount == 0 || paletteCount > 256) paletteCount = 256;
        const uint64_t paletteStart = 14 + static_cast<uint64_t>(headerSize);
        const uint64_t paletteEnd = paletteStart + paletteCount * paletteEntryBytes;
        // A short palette is allowed as long as the file holds what it declares.
        if (paletteEnd > size) return false;
        palette.assign(256 * 3, 0);
        for (uint32_t i = 0; i < paletteCount; ++i)
            for (int c = 0; c < 3; ++c)
                palette[i * 3 + c] = data[paletteStart + i * paletteEntryBytes + c];
    }
    const uint64_t rowBytes = (static_cast<uint64_t>(width) * bits + 31) / 32 * 4;
    if (static_cast<uint64_t>(pixelOffset) + rowBytes * static_cast<uint64_t>(height) > size)
        return false;

    Image out;
    out.resize(static_cast<int>(width), static_cast<int>(height));
    bool anyAlpha = false;
    for (int64_t row = 0; row < height; ++row) {
        const uint8_t* src = data + pixelOffset + row * rowBytes;
        const int y = static_cast<int>(topDown ? row : height - 1 - row);
        uint8_t* dst = &out.rgba[out.offset(0, y)];
        for (int64_t x = 0; x < width; ++x, dst += 4) {
            if (bits == 8) {
                const uint8_t* p = &palette[static_cast<size_t>(src[x]) * 3];
                dst[0] = p[2], dst[1] = p[1], dst[2] = p[0], dst[3] = 255;
            } else if (bits == 24) {
                const uint8_t* p = src + x * 3;
                dst[0] = p[2], dst[1] = p[1], dst[2] = p[0], dst[3] = 255;
            } else {
                const uint8_t* p = src + x * 4;
                dst[0] = p[2], dst[1] = p[1], dst[2] = p[0], dst[3] = p[3];
                anyAlpha = anyAlpha || p[3] != 0;
            }
        }
    }
    if (bits == 32 && !anyAlpha)
        for (size_t i = 3; i < out.rgba.size(); i += 4) out.rgba[i] = 255;
    image = std::move(out);
    return true;
}

bool readBmp(const std::string& path, Image& image) {
    std::string bytes;
    if (!readWholeFile(path, bytes)) return false;
    return decodeBmp(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), image);
}

bool encodeBmp32(const Image& image, std::string& bytes) {
    if (image.empty() || image.rgba.size() < image.offset(0, image.height)) return false;
    const uint64_t pixelBytes = static_cast<uint64_t>(image.width) * image.height * 4;
    if (pixelBytes + 54 > 0xFFFFFFFFu) return false;
    bytes.clear();
    bytes.reserve(static_cast<size_t>(pixelBytes) + 54);
    bytes += "BM";
    putU32(bytes, static_cast<uint32_t>(54 + pixelBytes));
    putU32(bytes, 0);
    putU32(bytes, 54);
    putU32(bytes, 40);
    putU32(bytes, static_cast<uint32_t>(image.width));
    putU32(bytes, static_cast<uint32_t>(image.height));  // positive: bottom-up
    putU16(bytes, 1);
    putU16(bytes, 32);
    putU32(bytes, 0);  // BI_RGB
    putU32(bytes, static_cast<uint32_t>(pixelBytes));
    putU32(bytes, 2835);  // 72 dpi
    putU32(bytes, 2835);
    putU32(bytes, 0);
    putU32(bytes, 0);
    for (int y = image.height - 1; y >= 0; --y) {
        const uint8_t* p = &image.rgba[image.offset(0, y)];
        for (int x = 0; x < image.width; ++x, p += 4) {
            bytes.push_back(static_cast<char>(p[2]));
            bytes.push_back(static_cast<char>(p[1]));
            bytes.push_back(static_cast<char>(p[0]));
            bytes.push_back(static_cast<char>(p[3]));
        }
    }
    return true;
}

bool writeBmp32(const std::string& path, const Image& image) {
    std::string bytes;
    // A temporary file of its own beside path, flushed and renamed over it: a link planted beside
    // the target is never followed, and a failure leaves path as it was.
    return encodeBmp32(image, bytes) && writeFileAtomically(path, bytes);
}
