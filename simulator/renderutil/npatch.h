// Software N-patch (curved PN triangle) tessellation: every triangle becomes a cubic Bezier
// patch built from its vertex normals, cut into n segments per edge.
#pragma once

#include "mesh.h"

constexpr int kMaxNPatchSegments = 3;

// Tessellates `mesh` with `segments` per edge (1 returns the mesh unchanged; values above the
// maximum are clamped to it). Positions follow the cubic patch, normals and texture coordinates
// are interpolated linearly. Edges shared through the same two vertex indices share their new
// vertices; each subset keeps its material and becomes segments^2 times as many triangles.
Mesh tessellateNPatches(const Mesh& mesh, int segments);
