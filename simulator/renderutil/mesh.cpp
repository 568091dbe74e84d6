// Bounding sphere, normal computation and validity check of the in-memory mesh.
#include "mesh.h"

#include <cmath>
#include <map>
#include <tuple>

BoundingSphere computeBoundingSphere(const Mesh& mesh) {
    BoundingSphere sphere;
    if (mesh.vertices.empty()) return sphere;
    double sx = 0, sy = 0, sz = 0;
    for (const MeshVertex& v : mesh.vertices) {
        sx += v.position.x;
        sy += v.position.y;
        sz += v.position.z;
    }
    const double n = static_cast<double>(mesh.vertices.size());
    sphere.center = {static_cast<float>(sx / n), static_cast<float>(sy / n), static_cast<float>(sz / n)};
    float maxSq = 0;
    for (const MeshVertex& v : mesh.vertices) {
        Vec3f d = v.position - sphere.center;
        maxSq = std::max(maxSq, dot(d, d));
    }
    sphere.radius = std::sqrt(maxSq);
    return sphere;
}

void computeNormals(Mesh& mesh) {
    // Vertices that share a position share a normal, so seams in the texture stay smooth.
    std::map<std::tuple<float, float, float>, Vec3f> sums;
    auto key = [](Vec3f p) { return std::make_tuple(p.x, p.y, p.z); };
    for (size_t t = 0; t + 2 < mesh.indices.size(); t += 3) {
        const Vec3f& p0 = mesh.vertices[mesh.indices[t]].position;
        const Vec3f& p1 = mesh.vertices[mesh.indices[t + 1]].position;
        const Vec3f& p2 = mesh.vertices[mesh.indices[t + 2]].position;
        // With clockwise front faces in left-handed axes this cross product points outwards.
        Vec3f faceNormal = cross(p1 - p0, p2 - p0);
        for (int k = 0; k < 3; ++k) {
            Vec3f& sum = sums[key(mesh.vertices[mesh.indices[t + k]].position)];
            sum = sum + faceNormal;
        }
    }
    for (MeshVertex& v : mesh.vertices) {
        auto it = sums.find(key(v.position));
        v.normal = it == sums.end() ? Vec3f{} : normalize(it->second);
    }
}

bool meshIsValid(const Mesh& mesh) {
    if (mesh.indices.size() % 3 != 0) return false;
    for (uint32_t i : mesh.indices)
        if (i >= mesh.vertices.size()) return false;
    for (const MeshSubset& s : mesh.subsets) {
        if (s.indexCount % 3 != 0 || s.indexStart % 3 != 0) return false;
        if (static_cast<size_t>(s.indexStart) + s.indexCount > mesh.indices.size()) return false;
    }
    return true;
}
