// Reading and writing Windows BMP pictures: 24- and 32-bit uncompressed and 8-bit paletted ones
// are read (bottom-up or top-down); 32-bit uncompressed ones are written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "image.h"

// Decodes a BMP held in memory. False (image untouched) for anything malformed or unsupported;
// never reads outside data.
bool decodeBmp(const uint8_t* data, size_t size, Image& image);

// Reads the file at path. Alpha is 255 for 24-bit and paletted pictures; for 32-bit pictures the
// fourth byte is taken as alpha unless every pixel has 0 there (the usual "unused" byte), in which
// case alpha is 255.
bool readBmp(const std::string& path, Image& image);

// Encodes image as a bottom-up 32-bit BI_RGB BMP (B, G, R, A bytes per pixel).
bool encodeBmp32(const Image& image, std::string& bytes);

// Writes the picture to a temporary file in the same directory and renames it over path, so a
// failure never leaves a half-written file at path. False when anything fails.
bool writeBmp32(const std::string& path, const Image& image);
