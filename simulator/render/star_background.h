// StarBackground: the sky of catalogue stars, two baked hemisphere textures drawn on a double
// cone around the camera, first in every frame and without depth.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "gl_device.h"
#include "math3d.h"

constexpr float kSkyConeRadius = 1000.0f;  // render units

class StarBackground {
public:
    explicit StarBackground(int slices = 64);

    // Bakes both textures from dataDirectory + "stars.txt" and fills the vertex buffer.
    // Returns the catalogue's path when it cannot be opened; texture or buffer failures leave
    // the sky incomplete and are not errors.
    std::optional<std::string> create(const std::string& dataDirectory);
    // The background pass: select-texture colour, background world, the view without its
    // translation, no depth, no culling; then the full view, counter-clockwise culling and the
    // modulate colour operation again. False at the first call that cannot draw.
    bool draw(GlDevice& device, const Mat4f& backgroundWorld, const Mat4f& view) const;
    void release();

    // Vertex 0 north apex, 1..slices+1 rim, slices+2 south apex, then the rim again.
    std::vector<VertexPt> coneVertices() const;
    int slices() const { return slices_; }
    int vertexCount() const { return 2 * slices_ + 4; }
    const GlTexture& northTexture() const { return north_; }
    const GlTexture& southTexture() const { return south_; }

private:
    int slices_;
    GlTexture north_, south_;
    GlVertexBuffer vertices_;
};
