// X-file loading (materials, subsets, coordinates, normals), optimisation and bounding spheres.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "x_mesh.h"

namespace {

std::string writeFile(const std::string& name, const std::string& text) {
    auto dir = std::filesystem::temp_directory_path() / ("celestrix_xmesh_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string path = (dir / name).string();
    std::ofstream(path) << text;
    return path;
}

// A square in the z = 0 plane facing -z (clockwise seen from -z), two materials.
const char* kQuad = R"(xof 0303txt 0032
Mesh quad {
 4;
 -1.0;-1.0;0.0;,
 -1.0;1.0;0.0;,
 1.0;1.0;0.0;,
 1.0;-1.0;0.0;;
 2;
 3;0,1,2;,
 3;0,2,3;;
 MeshMaterialList {
  2;
  2;
  0,
  1;;
  Material Red {
   1.0;0.0;0.0;1.0;;
   10.0;
   0.0;0.0;0.0;;
   0.1;0.2;0.3;;
   TextureFilename { "rock.png"; }
  }
  Material Blue {
   0.0;0.0;1.0;1.0;;
   5.0;
   0.0;0.0;0.0;;
   0.0;0.0;0.0;;
  }
 }
 MeshNormals {
  1;
  0.0;0.0;-1.0;;
  2;
  3;0,0,0;,
  3;0,0,0;;
 }
 MeshTextureCoords {
  4;
  0.0;1.0;,
  0.0;0.0;,
  1.0;0.0;,
  1.0;1.0;;
 }
}
)";

// A tetrahedron without normals or materials' textures.
const char* kTetra = R"(xof 0303txt 0032
Material Grey {
 0.5;0.5;0.5;1.0;;
 1.0;
 0.0;0.0;0.0;;
 0.0;0.0;0.0;;
}
Mesh tetra {
 4;
 1.0;1.0;1.0;,
 1.0;-1.0;-1.0;,
 -1.0;1.0;-1.0;,
 -1.0;-1.0;1.0;;
 4;
 3;0,1,2;,
 3;0,3,1;,
 3;0,2,3;,
 3;1,3,2;;
 MeshMaterialList { 1; 4; 0,0,0,0;; {Grey} }
}
)";

Vec3f faceNormal(const Mesh& m, size_t t) {
    const Vec3f& a = m.vertices[m.indices[t * 3]].position;
    const Vec3f& b = m.vertices[m.indices[t * 3 + 1]].position;
    const Vec3f& c = m.vertices[m.indices[t * 3 + 2]].position;
    return cross(b - a, c - a);
}

}  // namespace

TEST(XMesh, LoadsMaterialsSubsetsAndKeepsDirect3DCoordinates) {
    XMeshLoadResult r = loadXMesh(writeFile("quad.x", kQuad));
    ASSERT_TRUE(r.mesh) << r.error;
    const Mesh& m = *r.mesh;
    EXPECT_TRUE(r.hadNormals);
    ASSERT_EQ(m.materials.size(), 2u);
    EXPECT_FLOAT_EQ(m.materials[0].diffuse.r, 1.0f);
    EXPECT_FLOAT_EQ(m.materials[0].emissive.g, 0.2f);
    EXPECT_EQ(m.materials[0].textureFile, "rock.png");
    EXPECT_FLOAT_EQ(m.materials[1].diffuse.b, 1.0f);
    EXPECT_TRUE(m.materials[1].textureFile.empty());
    ASSERT_EQ(m.subsets.size(), 2u);
    EXPECT_EQ(m.subsets[0].materialIndex, 0u);
    EXPECT_EQ(m.subsets[1].materialIndex, 1u);
    EXPECT_EQ(m.subsets[0].indexCount, 3u);
    EXPECT_EQ(m.triangleCount(), 2u);
    // Front faces stay clockwise in left-handed axes: the face normal and the file's normal
    // both point to -z, and z is not mirrored.
    for (size_t t = 0; t < 2; ++t) EXPECT_LT(faceNormal(m, t).z, 0);
    for (const MeshVertex& v : m.vertices) {
        EXPECT_FLOAT_EQ(v.position.z, 0);
        EXPECT_NEAR(v.normal.z, -1, 1e-6);
        // Texture v as in the file: the top edge (y = 1) has v = 0.
        if (v.position.y > 0) {
            EXPECT_FLOAT_EQ(v.v, 0.0f);
        }
        if (v.position.y < 0) {
            EXPECT_FLOAT_EQ(v.v, 1.0f);
        }
    }
}

TEST(XMesh, OptimisationWeldsAndKeepsSubsets) {
    XMeshLoadResult r = loadXMesh(writeFile("quad2.x", kQuad));
    ASSERT_TRUE(r.mesh);
    Mesh m = *r.mesh;
    const size_t triangles = m.triangleCount();
    ASSERT_TRUE(optimizeMeshInPlace(m));
    EXPECT_EQ(m.triangleCount(), triangles);
    EXPECT_EQ(m.vertices.size(), 4u);  // the diagonal's two corners are shared again
    EXPECT_TRUE(meshIsValid(m));
    ASSERT_EQ(m.subsets.size(), 2u);
    EXPECT_EQ(m.subsets[1].indexStart, 3u);

    Mesh broken = *r.mesh;
    broken.indices[0] = 99;
    const Mesh before = broken;
    EXPECT_FALSE(optimizeMeshInPlace(broken));
    EXPECT_EQ(broken.indices, before.indices);
    Mesh empty;
    EXPECT_FALSE(optimizeMeshInPlace(empty));
}

TEST(XMesh, ComputesOutwardNormalsWhenTheFileHasNone) {
    XMeshLoadResult r = loadXMesh(writeFile("tetra.x", kTetra));
    ASSERT_TRUE(r.mesh) << r.error;
    EXPECT_FALSE(r.hadNormals);
    for (const MeshVertex& v : r.mesh->vertices) {
        EXPECT_NEAR(length(v.normal), 1.0f, 1e-5);
        EXPECT_GT(dot(v.normal, v.position), 0.9f * length(v.position));  // outward, along the corner
    }
    const BoundingSphere s = computeBoundingSphere(*r.mesh);
    EXPECT_NEAR(length(s.center), 0, 1e-6);
    EXPECT_NEAR(s.radius, std::sqrt(3.0f), 1e-5);
}

TEST(XMesh, FailuresAreReportedAsValues) {
    XMeshLoadResult missing = loadXMesh("/nonexistent/celestrix/none.x");
    EXPECT_FALSE(missing.mesh);
    EXPECT_FALSE(missing.error.empty());
    XMeshLoadResult garbage = loadXMesh(writeFile("garbage.x", "xof 0303txt 0032\nMesh { 3; 1;2;"));
    EXPECT_FALSE(garbage.mesh);
}

TEST(BoundingSphere, CentreIsTheVertexMeanAndRadiusTheFarthestVertex) {
    Mesh m;
    for (Vec3f p : {Vec3f{0, 0, 0}, Vec3f{2, 0, 0}, Vec3f{0, 0, 0}, Vec3f{0, 0, 0}}) m.vertices.push_back({p, {}, 0, 0});
    const BoundingSphere s = computeBoundingSphere(m);
    EXPECT_FLOAT_EQ(s.center.x, 0.5f);
    EXPECT_FLOAT_EQ(s.radius, 1.5f);
    EXPECT_FLOAT_EQ(computeBoundingSphere(Mesh{}).radius, 0);
}

// The importer splits text at every isspace() blank and at ";", ",", "{" and "}", and reads quoted
// names token by token: files that read one way to a looser check and another way to the importer
// are refused, and what is let through loads as before.
TEST(XMesh, TextTheImporterWouldReadOtherwiseIsRefused) {
    const std::string quad = kQuad;
    auto withNormalIndex = [&](const std::string& index) {
        std::string text = quad;
        text.replace(text.find("3;0,0,0;,"), 9, "3;0,0," + index + ";,");
        return text;
    };
    std::string deepFrames = "xof 0303txt 0032\nFrame \"";
    for (int i = 0; i < 100000; ++i) deepFrames += "Frame f {";
    deepFrames += "\" {\n" + quad.substr(17) + "}\n";
    struct Case {
        const char* what;
        std::string text;
        const char* reason;  // part of the error; nullptr: loads
    };
    const Case cases[] = {
        {"frames nested inside a quoted frame name", deepFrames, "quoted name"},
        {"a normal index behind a form feed", withNormalIndex("\f99999999"), "normal that does not exist"},
        {"a normal index behind a vertical tab", withNormalIndex("\v7"), "normal that does not exist"},
        {"a number glued to a word", withNormalIndex("0x"), "not finite or not a number"},
        {"a word the importer reads as a number", withNormalIndex("nan"), "not finite or not a number"},
        {"an existing normal index behind a form feed", withNormalIndex("\f0"), nullptr},
        {"comments and odd blanks", "xof 0303txt 0032\n# note\n// note\n\f" + quad.substr(17), nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        XMeshLoadResult r = loadXMesh(writeFile("crafted.x", c.text));
        if (!c.reason) {
            ASSERT_TRUE(r.mesh) << r.error;
            EXPECT_EQ(r.mesh->subsets.size(), 2u);
            continue;
        }
        EXPECT_FALSE(r.mesh);
        EXPECT_NE(r.error.find(c.reason), std::string::npos) << r.error;
    }
}
