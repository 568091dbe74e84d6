// Loading pictures (PNG, JPEG, BMP) into an Image by their content, colour keys, and pictures
// made from a per-texel function (the way the sky textures are filled).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "image.h"

// Reads the file and decodes it by its leading bytes (PNG signature, JPEG SOI marker, "BM");
// an unknown signature falls back to the file extension. Returns nothing and sets `error`
// (when given) if the file cannot be read or decoded.
std::optional<Image> loadImageFile(const std::string& path, std::string* error = nullptr);

// Every pixel whose colour equals keyArgb (0xAARRGGBB, alpha included) becomes transparent black.
void applyColorKey(Image& image, uint32_t keyArgb);

// Picture of w x h pixels whose pixel (x, y) is texel((x + 0.5) / w, (y + 0.5) / h), the texel
// returning 0xAARRGGBB. Row y = 0 is the top row (texture coordinate v near 0).
Image makeImage(int w, int h, const std::function<uint32_t(float u, float v)>& texel);

// Colour of pixel (x, y) as 0xAARRGGBB.
uint32_t pixelArgb(const Image& image, int x, int y);
