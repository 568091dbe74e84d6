// In-memory triangle mesh shared by the X-file loader, the N-patch tessellator and the renderer:
// vertices with position, normal and texture coordinates, 32-bit indices and one subset per material.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "math3d.h"

struct MeshVertex {
    Vec3f position;
    Vec3f normal;
    float u = 0, v = 0;
};

struct MeshColor {
    float r = 0, g = 0, b = 0, a = 0;
};

struct MeshMaterial {
    MeshColor diffuse;
    MeshColor ambient;
    MeshColor specular;
    MeshColor emissive;
    float power = 0;
    std::string textureFile;  // as named in the mesh file, may be empty
};

// Triangles [indexStart, indexStart + indexCount) of the index list use material materialIndex.
struct MeshSubset {
    uint32_t materialIndex = 0;
    uint32_t indexStart = 0;
    uint32_t indexCount = 0;
};

struct Mesh {
    std::vector<MeshVertex> vertices;
    std::vector<uint32_t> indices;  // triangle list, three per triangle
    std::vector<MeshSubset> subsets;  // sorted by material index, one per material that has triangles
    std::vector<MeshMaterial> materials;

    size_t triangleCount() const { return indices.size() / 3; }
    // The subset drawn with material `materialIndex`, or nullptr when no triangle uses it.
    const MeshSubset* subsetFor(uint32_t materialIndex) const {
        for (const MeshSubset& s : subsets)
            if (s.materialIndex == materialIndex) return &s;
        return nullptr;
    }
};

struct BoundingSphere {
    Vec3f center;
    float radius = 0;
};

// Centre = mean of all vertex positions, radius = greatest distance of a vertex from it.
BoundingSphere computeBoundingSphere(const Mesh& mesh);

// Smooth normals: each vertex gets the normalised sum of the area-weighted normals of the faces
// that use a vertex at the same position.
void computeNormals(Mesh& mesh);

// Structural check: indices in range, index counts a multiple of three, subsets inside the list.
bool meshIsValid(const Mesh& mesh);
