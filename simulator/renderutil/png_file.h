// Writing pictures as PNG files (libpng), for exported replay frames.
#pragma once

#include <string>

#include "image.h"

// Encodes the picture as an 8-bit RGB PNG (alpha dropped). False for an empty picture or when
// libpng fails.
bool encodePngRgb(const Image& image, std::string& bytes);

// Writes the PNG to a temporary file in the same directory and renames it over path. False when
// anything fails; path is then unchanged.
bool writePngRgb(const std::string& path, const Image& image);
