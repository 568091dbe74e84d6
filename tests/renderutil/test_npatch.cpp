// N-patch tessellation: vertex and triangle counts, shared edges, curvature towards the surface.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <tuple>

#include "npatch.h"

namespace {

// UV sphere of radius 1 with shared vertices and normals equal to the positions, clockwise
// front faces seen from outside in left-handed axes.
Mesh uvSphere(int slices, int stacks) {
    Mesh m;
    const float pi = 3.14159265f;
    for (int i = 0; i <= stacks; ++i)
        for (int j = 0; j < slices; ++j) {
            float th = pi * i / stacks, ph = 2 * pi * j / slices;
            Vec3f p{std::sin(th) * std::cos(ph), std::cos(th), std::sin(th) * std::sin(ph)};
            m.vertices.push_back({p, p, float(j) / slices, float(i) / stacks});
        }
    auto at = [&](int i, int j) { return static_cast<uint32_t>(i * slices + (j % slices)); };
    for (int i = 0; i < stacks; ++i)
        for (int j = 0; j < slices; ++j) {
            m.indices.insert(m.indices.end(), {at(i, j), at(i, j + 1), at(i + 1, j)});
            m.indices.insert(m.indices.end(), {at(i, j + 1), at(i + 1, j + 1), at(i + 1, j)});
        }
    m.subsets.push_back({0, 0, static_cast<uint32_t>(m.indices.size())});
    m.materials.resize(1);
    return m;
}

// Octahedron: 6 vertices, 12 edges, 8 faces, two materials.
Mesh octahedron() {
    Mesh m;
    const Vec3f p[6] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
    for (Vec3f v : p) m.vertices.push_back({v, v, 0, 0});
    m.indices = {0, 2, 4, 4, 2, 1, 1, 2, 5, 5, 2, 0, 4, 3, 0, 1, 3, 4, 5, 3, 1, 0, 3, 5};
    m.subsets = {{0, 0, 12}, {1, 12, 12}};
    m.materials.resize(2);
    return m;
}

}  // namespace

TEST(NPatch, CountsPerLevel) {
    const Mesh oct = octahedron();
    const Mesh one = tessellateNPatches(oct, 1);
    EXPECT_EQ(one.vertices.size(), 6u);
    EXPECT_EQ(one.indices, oct.indices);

    // n segments: V + E (n - 1) + F (n - 1)(n - 2) / 2 vertices, F n^2 triangles.
    const Mesh two = tessellateNPatches(oct, 2);
    EXPECT_EQ(two.vertices.size(), 6u + 12u);
    EXPECT_EQ(two.triangleCount(), 32u);
    const Mesh three = tessellateNPatches(oct, 3);
    EXPECT_EQ(three.vertices.size(), 6u + 24u + 8u);
    EXPECT_EQ(three.triangleCount(), 72u);
    EXPECT_TRUE(meshIsValid(three));
    // Subsets keep their materials and grow by n^2.
    ASSERT_EQ(three.subsets.size(), 2u);
    EXPECT_EQ(three.subsets[1].materialIndex, 1u);
    EXPECT_EQ(three.subsets[1].indexStart, 4u * 9u * 3u);
    EXPECT_EQ(three.subsets[1].indexCount, 4u * 9u * 3u);
    // Levels above the maximum are clamped.
    EXPECT_EQ(tessellateNPatches(oct, 7).triangleCount(), 72u);
}

TEST(NPatch, TessellatedSphereStaysOnTheSphereAndKeepsWinding) {
    const Mesh sphere = uvSphere(24, 12);
    for (int level : {2, 3}) {
        const Mesh t = tessellateNPatches(sphere, level);
        float worstFlat = 0, worstCurved = 0;
        for (const MeshVertex& v : t.vertices) {
            worstCurved = std::max(worstCurved, std::fabs(length(v.position) - 1.0f));
            EXPECT_NEAR(length(v.normal), 1.0f, 1e-4);
        }
        // Flat midpoints of the source edges lie further inside than the patch points.
        for (size_t k = 0; k + 1 < sphere.indices.size(); k += 3) {
            Vec3f mid = (sphere.vertices[sphere.indices[k]].position + sphere.vertices[sphere.indices[k + 1]].position) * 0.5f;
            worstFlat = std::max(worstFlat, 1.0f - length(mid));
        }
        EXPECT_LT(worstCurved, 0.004f) << "level " << level;
        EXPECT_LT(worstCurved, worstFlat / 4) << "level " << level;
        // Clockwise from outside: the face normal points away from the centre.
        for (size_t k = 0; k < t.indices.size(); k += 3) {
            const Vec3f a = t.vertices[t.indices[k]].position, b = t.vertices[t.indices[k + 1]].position,
                        c = t.vertices[t.indices[k + 2]].position;
            const Vec3f n = cross(b - a, c - a);
            if (length(n) > 1e-5f) {  // the degenerate triangles at the poles have no direction
                EXPECT_GT(dot(n, a + b + c), 0) << "triangle " << k / 3;
            }
        }
    }
}

TEST(NPatch, SharedEdgesShareVerticesSoNoCracksOpen) {
    // The octahedron has no two vertices at one position, so neither may its tessellation.
    const Mesh t = tessellateNPatches(octahedron(), 3);
    std::set<std::tuple<float, float, float>> positions;
    for (const MeshVertex& v : t.vertices) positions.insert({v.position.x, v.position.y, v.position.z});
    EXPECT_EQ(positions.size(), t.vertices.size());
    Mesh broken = octahedron();
    broken.indices[0] = 50;
    EXPECT_EQ(tessellateNPatches(broken, 3).indices, broken.indices);  // invalid input unchanged
}
