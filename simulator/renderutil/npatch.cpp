// PN-triangle tessellation of a triangle list.
#include "npatch.h"

#include <algorithm>
#include <map>
#include <utility>

namespace {

struct Patch {
    Vec3f b300, b030, b003, b210, b120, b021, b012, b102, b201, b111;
};

// Control point next to p on the edge towards q, pulled into the tangent plane of normal n.
Vec3f edgePoint(Vec3f p, Vec3f q, Vec3f n) {
    float w = dot(q - p, n);
    return (p * 2.0f + q - n * w) * (1.0f / 3.0f);
}

Patch makePatch(const MeshVertex& a, const MeshVertex& b, const MeshVertex& c) {
    Patch p;
    p.b300 = a.position;
    p.b030 = b.position;
    p.b003 = c.position;
    p.b210 = edgePoint(a.position, b.position, a.normal);
    p.b120 = edgePoint(b.position, a.position, b.normal);
    p.b021 = edgePoint(b.position, c.position, b.normal);
    p.b012 = edgePoint(c.position, b.position, c.normal);
    p.b102 = edgePoint(c.position, a.position, c.normal);
    p.b201 = edgePoint(a.position, c.position, a.normal);
    Vec3f e = (p.b210 + p.b120 + p.b021 + p.b012 + p.b102 + p.b201) * (1.0f / 6.0f);
    Vec3f v = (a.position + b.position + c.position) * (1.0f / 3.0f);
    p.b111 = e + (e - v) * 0.5f;
    return p;
}

// Barycentric weights: w for the first vertex, u for the second, v for the third.
MeshVertex evaluate(const Patch& p, const MeshVertex& a, const MeshVertex& b, const MeshVertex& c, float u,
                    float v) {
    float w = 1.0f - u - v;
    MeshVertex out;
    out.position = p.b300 * (w * w * w) + p.b030 * (u * u * u) + p.b003 * (v * v * v) +
                   p.b210 * (3 * w * w * u) + p.b120 * (3 * w * u * u) + p.b201 * (3 * w * w * v) +
                   p.b021 * (3 * u * u * v) + p.b102 * (3 * w * v * v) + p.b012 * (3 * u * v * v) +
                   p.b111 * (6 * w * u * v);
    out.normal = normalize(a.normal * w + b.normal * u + c.normal * v);
    out.u = a.u * w + b.u * u + c.u * v;
    out.v = a.v * w + b.v * u + c.v * v;
    return out;
}

}  // namespace

Mesh tessellateNPatches(const Mesh& mesh, int segments) {
    const int n = std::clamp(segments, 1, kMaxNPatchSegments);
    if (n == 1 || !meshIsValid(mesh)) return mesh;
    Mesh out;
    out.materials = mesh.materials;
    out.vertices = mesh.vertices;  // the corners stay where they are
    // New vertices on an edge, keyed by its vertex indices (smaller first), listed from the
    // smaller index's end.
    std::map<std::pair<uint32_t, uint32_t>, std::vector<uint32_t>> edgeVertices;
    auto subsets = mesh.subsets;
    if (subsets.empty()) subsets.push_back({0, 0, static_cast<uint32_t>(mesh.indices.size())});
    for (const MeshSubset& s : subsets) {
        MeshSubset ns{s.materialIndex, static_cast<uint32_t>(out.indices.size()), 0};
        for (uint32_t t = s.indexStart; t < s.indexStart + s.indexCount; t += 3) {
            const uint32_t ia = mesh.indices[t], ib = mesh.indices[t + 1], ic = mesh.indices[t + 2];
            const MeshVertex &a = mesh.vertices[ia], &b = mesh.vertices[ib], &c = mesh.vertices[ic];
            const Patch patch = makePatch(a, b, c);
            // grid[i][j]: point with u = i/n along a->b and v = j/n along a->c, i + j <= n.
            std::vector<std::vector<uint32_t>> grid(n + 1, std::vector<uint32_t>(n + 1, 0));
            grid[0][0] = ia;
            grid[n][0] = ib;
            grid[0][n] = ic;
            // Edge a->b: (k, 0); edge a->c: (0, k); edge b->c: (n - k, k).
            auto edge = [&](uint32_t from, uint32_t to, auto pointAt) {
                auto key = std::minmax(from, to);
                auto it = edgeVertices.find({key.first, key.second});
                if (it == edgeVertices.end()) {
                    std::vector<uint32_t> list;
                    for (int k = 1; k < n; ++k) {
                        int kk = from < to ? k : n - k;  // k counted from the smaller index
                        auto [gu, gv] = pointAt(kk);
                        list.push_back(static_cast<uint32_t>(out.vertices.size()));
                        out.vertices.push_back(evaluate(patch, a, b, c, gu / float(n), gv / float(n)));
                    }
                    it = edgeVertices.emplace(std::make_pair(key.first, key.second), std::move(list)).first;
                }
                std::vector<uint32_t> list = it->second;
                if (from > to) std::reverse(list.begin(), list.end());
                return list;  // from `from` towards `to`
            };
            auto ab = edge(ia, ib, [](int k) { return std::pair<int, int>{k, 0}; });
            auto ac = edge(ia, ic, [](int k) { return std::pair<int, int>{0, k}; });
            auto bc = edge(ib, ic, [n](int k) { return std::pair<int, int>{n - k, k}; });
            for (int k = 1; k < n; ++k) {
                grid[k][0] = ab[k - 1];
                grid[0][k] = ac[k - 1];
                grid[n - k][k] = bc[k - 1];
            }
            for (int i = 1; i < n; ++i)
                for (int j = 1; i + j < n; ++j) {
                    grid[i][j] = static_cast<uint32_t>(out.vertices.size());
                    out.vertices.push_back(evaluate(patch, a, b, c, i / float(n), j / float(n)));
                }
            // Same winding as the source triangle (a, b, c).
            for (int i = 0; i < n; ++i)
                for (int j = 0; i + j < n; ++j) {
                    out.indices.insert(out.indices.end(), {grid[i][j], grid[i + 1][j], grid[i][j + 1]});
                    if (i + j + 1 < n)
                        out.indices.insert(out.indices.end(), {grid[i + 1][j], grid[i + 1][j + 1], grid[i][j + 1]});
                }
        }
        ns.indexCount = static_cast<uint32_t>(out.indices.size()) - ns.indexStart;
        if (ns.indexCount > 0) out.subsets.push_back(ns);
    }
    return out;
}
