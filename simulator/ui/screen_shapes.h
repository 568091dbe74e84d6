// Flat, untextured rectangles in screen pixels, collected into one batch and drawn with a single
// call: the outlines of the body markers and the target bracket.
#pragma once

#include <cstdint>
#include <vector>

#include "gl_device.h"

// A screen area, pixels (a panel that labels keep out of).
struct ScreenBox {
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

class ScreenShapes {
public:
    void clear() { vertices_.clear(); }
    // A filled rectangle from (x0, y0) to (x1, y1), pixels.
    void rect(float x0, float y0, float x1, float y1, uint32_t argb);
    // A square outline of half-size h around (x, y), one pixel wide.
    void squareOutline(float x, float y, float h, uint32_t argb);
    bool empty() const { return vertices_.empty(); }
    // Draws the batch with blending, no texture, no depth; the device's state is restored.
    void draw(GlDevice& device) const;

private:
    std::vector<VertexScreen> vertices_;
};
