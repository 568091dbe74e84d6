// PNG (libpng), JPEG (libjpeg) and BMP decoding into Image; colour keys; function-filled pictures.
#include "image_load.h"

#include <jpeglib.h>
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bmp_file.h"
#include "text_file.h"

namespace {

std::optional<Image> decodePng(const std::vector<uint8_t>& bytes, std::string& error) {
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, bytes.data(), bytes.size())) {
        error = png.message;
        return std::nullopt;
    }
    if (!imageSizeAllowed(png.width, png.height)) {
        png_image_free(&png);
        error = "the picture declares " + std::to_string(png.width) + " x " + std::to_string(png.height) +
                " pixels, more than any texture may have";
        return std::nullopt;
    }
    png.format = PNG_FORMAT_RGBA;
    Image image;
    image.resize(static_cast<int>(png.width), static_cast<int>(png.height));
    if (!png_image_finish_read(&png, nullptr, image.rgba.data(), 0, nullptr)) {
        error = png.message;
        png_image_free(&png);
        return std::nullopt;
    }
    return image;
}

struct JpegError {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    bool tooLarge;
};

void onJpegError(j_common_ptr info) {
    auto* err = reinterpret_cast<JpegError*>(info->err);
    (*info->err->format_message)(info, err->message);
    std::longjmp(err->jump, 1);
}

// A progressive (or multi-scan) JPEG is decoded through a buffer of every DCT coefficient of the
// whole picture: 128 bytes per 8 x 8 block of every component, rounded up to whole MCUs. A file of
// a few bytes may declare a picture within the pixel limit whose buffer is four times the decoded
// picture (four full-size components); it is held to the size of the largest decoded picture.
constexpr uint64_t kMaxJpegWorkingBytes = static_cast<uint64_t>(kMaxImagePixels) * 4;

uint64_t jpegWorkingMemory(const jpeg_decompress_struct& info) {
    if (!info.progressive_mode && !info.buffered_image) return 0;  // baseline: a few rows at a time
    uint64_t bytes = 0;
    for (int c = 0; c < info.num_components; ++c) {
        const jpeg_component_info& comp = info.comp_info[c];
        const uint64_t h = static_cast<uint64_t>(comp.h_samp_factor > 0 ? comp.h_samp_factor : 1);
        const uint64_t v = static_cast<uint64_t>(comp.v_samp_factor > 0 ? comp.v_samp_factor : 1);
        const uint64_t wide = (comp.width_in_blocks + h - 1) / h * h;
        const uint64_t high = (comp.height_in_blocks + v - 1) / v * v;
        bytes += wide * high * DCTSIZE2 * sizeof(JCOEF);
    }
    return bytes;
}

// Kept free of C++ objects with destructors between setjmp and longjmp: the row buffer comes from
// libjpeg's own pool, which jpeg_destroy_decompress frees on every path.
bool decodeJpegInto(const std::vector<uint8_t>& bytes, Image& image, JpegError& err) {
    jpeg_decompress_struct info;
    info.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = onJpegError;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    if (!imageSizeAllowed(info.image_width, info.image_height) || jpegWorkingMemory(info) > kMaxJpegWorkingBytes) {
        err.tooLarge = true;
        jpeg_destroy_decompress(&info);
        return false;
    }
    // And libjpeg itself is held to the same bound, whatever it would allocate beyond that.
    info.mem->max_memory_to_use = static_cast<long>(kMaxJpegWorkingBytes);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    image.resize(static_cast<int>(info.output_width), static_cast<int>(info.output_height));
    JSAMPARRAY rows = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                                info.output_width * 3, 1);
    const JSAMPLE* row = rows[0];
    while (info.output_scanline < info.output_height) {
        int y = static_cast<int>(info.output_scanline);
        jpeg_read_scanlines(&info, rows, 1);
        uint8_t* dst = image.rgba.data() + image.offset(0, y);
        for (size_t x = 0; x < info.output_width; ++x) {
            dst[x * 4] = row[x * 3];
            dst[x * 4 + 1] = row[x * 3 + 1];
            dst[x * 4 + 2] = row[x * 3 + 2];
            dst[x * 4 + 3] = 255;
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

std::string lowerExtension(const std::string& path) {
    auto dot = path.find_last_of('.');
    if (dot == std::string::npos) return {};
    std::string ext = path.substr(dot + 1);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

}  // namespace

std::optional<Image> loadImageFile(const std::string& path, std::string* error) {
    std::string err;
    std::optional<Image> result;
    std::string contents;
    if (!readWholeFile(path, contents, &err)) {
        // err holds the reason
    } else {
        std::vector<uint8_t> bytes(contents.begin(), contents.end());
        contents = std::string();
        const std::string ext = lowerExtension(path);
        const bool isPng = bytes.size() >= 8 && png_sig_cmp(bytes.data(), 0, 8) == 0;
        const bool isJpeg = bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF;
        const bool isBmp = bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M';
        if (isPng || (!isJpeg && !isBmp && ext == "png")) {
            result = decodePng(bytes, err);
        } else if (isJpeg || (!isBmp && (ext == "jpg" || ext == "jpeg"))) {
            Image image;
            JpegError jerr{};
            if (decodeJpegInto(bytes, image, jerr))
                result = std::move(image);
            else
                err = jerr.tooLarge ? "the picture declares more pixels (or decoding memory) than any texture may have" : jerr.message;
        } else if (isBmp || ext == "bmp") {
            Image image;
            if (decodeBmp(bytes.data(), bytes.size(), image))
                result = std::move(image);
            else
                err = "not a readable BMP picture";
        } else {
            err = "unknown picture format";
        }
        if (result && result->empty()) {
            result.reset();
            err = "empty picture";
        }
    }
    if (!result && error) *error = path + ": " + err;
    return result;
}

void applyColorKey(Image& image, uint32_t keyArgb) {
    const uint8_t a = static_cast<uint8_t>(keyArgb >> 24), r = static_cast<uint8_t>(keyArgb >> 16),
                  g = static_cast<uint8_t>(keyArgb >> 8), b = static_cast<uint8_t>(keyArgb);
    for (size_t i = 0; i + 3 < image.rgba.size(); i += 4) {
        uint8_t* p = image.rgba.data() + i;
        if (p[0] == r && p[1] == g && p[2] == b && p[3] == a) p[0] = p[1] = p[2] = p[3] = 0;
    }
}

Image makeImage(int w, int h, const std::function<uint32_t(float u, float v)>& texel) {
    Image image;
    if (w <= 0 || h <= 0) return image;
    image.resize(w, h);
    for (int y = 0; y < h; ++y) {
        const float v = (static_cast<float>(y) + 0.5f) / static_cast<float>(h);
        uint8_t* row = image.rgba.data() + image.offset(0, y);
        for (int x = 0; x < w; ++x) {
            const uint32_t c = texel((static_cast<float>(x) + 0.5f) / static_cast<float>(w), v);
            row[x * 4] = static_cast<uint8_t>(c >> 16);
            row[x * 4 + 1] = static_cast<uint8_t>(c >> 8);
            row[x * 4 + 2] = static_cast<uint8_t>(c);
            row[x * 4 + 3] = static_cast<uint8_t>(c >> 24);
        }
    }
    return image;
}

uint32_t pixelArgb(const Image& image, int x, int y) {
    const uint8_t* p = image.rgba.data() + image.offset(x, y);
    return (uint32_t{p[3]} << 24) | (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
}
