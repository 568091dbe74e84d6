// Tessellation and upload of a body's draw mesh.
#include "draw_mesh.h"

#include "npatch.h"

bool DrawMesh::build(const Mesh& mesh, int level) {
    release();
    const Mesh tessellated = tessellateNPatches(mesh, level);
    if (tessellated.vertices.empty() || tessellated.indices.empty()) return false;
    std::vector<VertexPnt> vertices;
    vertices.reserve(tessellated.vertices.size());
    for (const MeshVertex& v : tessellated.vertices)
        vertices.push_back({v.position.x, v.position.y, v.position.z, v.normal.x, v.normal.y, v.normal.z, v.u, v.v});
    if (!vertices_.create(vertices.data(), vertices.size() * sizeof(VertexPnt), VertexFormat::PositionNormalUv) ||
        !indices_.create(tessellated.indices.data(), tessellated.indices.size())) {
        release();
        return false;
    }
    subsets_ = tessellated.subsets;
    vertexCount_ = vertices.size();
    return true;
}

void DrawMesh::release() {
    vertices_.release();
    indices_.release();
    subsets_.clear();
    vertexCount_ = 0;
}

void DrawMesh::drawSubset(GlDevice& device, uint32_t materialIndex) const {
    if (!valid()) return;
    for (const MeshSubset& s : subsets_)
        if (s.materialIndex == materialIndex && s.indexCount > 0)
            device.drawIndexed(PrimitiveType::TriangleList, vertices_, indices_, static_cast<int>(s.indexStart),
                               static_cast<int>(s.indexCount));
}
