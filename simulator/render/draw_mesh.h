// DrawMesh: a body's mesh as drawn, in GL buffers, tessellated to the body's current level of
// detail; one subset per material, drawn subset by subset.
#pragma once

#include <vector>

#include "gl_device.h"
#include "mesh.h"

class DrawMesh {
public:
    // Tessellates `mesh` with `level` segments per edge and uploads it. False (and empty) when
    // a buffer cannot be made.
    bool build(const Mesh& mesh, int level);
    void release();
    bool valid() const { return vertices_.valid() && indices_.valid(); }
    // Draws the triangles of material `materialIndex`; nothing when no triangle uses it.
    void drawSubset(GlDevice& device, uint32_t materialIndex) const;

    size_t vertexCount() const { return vertexCount_; }
    size_t triangleCount() const { return indices_.count() / 3; }

private:
    GlVertexBuffer vertices_;
    GlIndexBuffer indices_;
    std::vector<MeshSubset> subsets_;
    size_t vertexCount_ = 0;
};
