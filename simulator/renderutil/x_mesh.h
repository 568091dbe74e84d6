// Loading of X-file meshes through Assimp into the in-memory Mesh, and the in-place optimisation
// (vertex welding, material sort, vertex-cache order, compaction) done once after loading.
#pragma once

#include <optional>
#include <string>

#include "mesh.h"

struct XMeshLoadResult {
    std::optional<Mesh> mesh;  // empty when the file could not be read
    bool hadNormals = false;   // the file carried normals (otherwise they were computed)
    std::string error;         // why loading failed
};

// Reads a text X file (checked before import; binary and compressed ones are refused). Coordinates, winding and texture V are kept as Direct3D has
// them (left-handed, clockwise front faces). The node hierarchy is flattened; one subset per
// material that has triangles. A file without normals gets smooth normals.
XMeshLoadResult loadXMesh(const std::string& path);

// Joins identical vertices, groups the triangles by material, orders each group for a small
// post-transform vertex cache and drops unused vertices. Returns false and leaves the mesh
// unchanged when the mesh is malformed (indices out of range, broken subsets, no triangles).
bool optimizeMeshInPlace(Mesh& mesh);
