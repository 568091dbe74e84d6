// X-file loading through Assimp and in-place mesh optimisation.
#include "x_mesh.h"

#include <assimp/material.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <algorithm>
#include <assimp/Importer.hpp>
#include <cmath>
#include <cstring>
#include <map>
#include <optional>
#include <unordered_map>
#include <utility>

#include "text_file.h"
#include "x_file_check.h"

namespace {

MeshColor colorOf(const aiMaterial* m, const char* key, unsigned type, unsigned index, MeshColor fallback) {
    aiColor4D c;
    if (m->Get(key, type, index, c) == AI_SUCCESS) return {c.r, c.g, c.b, c.a};
    return fallback;
}

struct Gathered {
    std::vector<MeshVertex> vertices;
    std::vector<std::vector<uint32_t>> indicesPerMaterial;
    bool allHaveNormals = true;
};

// Why an imported scene cannot be used (an index out of range, a value that is not finite, more
// elements than any model has), or nothing.
std::optional<std::string> checkScene(const aiScene* scene) {
    size_t total = 0;
    for (unsigned m = 0; m < scene->mNumMeshes; ++m) {
        const aiMesh* mesh = scene->mMeshes[m];
        if (!mesh || !mesh->mVertices) return "a mesh without vertices";
        total += mesh->mNumVertices;
        if (total > kMaxXElements) return "more vertices than any model has";
        if (mesh->mMaterialIndex >= scene->mNumMaterials) return "a mesh naming a material that does not exist";
        for (unsigned v = 0; v < mesh->mNumVertices; ++v) {
            const aiVector3D& p = mesh->mVertices[v];
            if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return "a vertex that is not finite";
        }
        for (unsigned f = 0; f < mesh->mNumFaces; ++f)
            for (unsigned c = 0; c < mesh->mFaces[f].mNumIndices; ++c)
                if (mesh->mFaces[f].mIndices[c] >= mesh->mNumVertices) return "a face naming a vertex that does not exist";
    }
    return std::nullopt;
}

// The meshes of one node, placed by its global transform.
void gatherNodeMeshes(const aiScene* scene, const aiNode* node, const aiMatrix4x4& global, Gathered& out) {
    aiMatrix3x3 normalMatrix(global);
    for (unsigned k = 0; k < node->mNumMeshes; ++k) {
        if (node->mMeshes[k] >= scene->mNumMeshes) continue;
        const aiMesh* mesh = scene->mMeshes[node->mMeshes[k]];
        if (!(mesh->mPrimitiveTypes & aiPrimitiveType_TRIANGLE)) continue;
        if (!mesh->HasNormals()) out.allHaveNormals = false;
        const uint32_t base = static_cast<uint32_t>(out.vertices.size());
        for (unsigned v = 0; v < mesh->mNumVertices; ++v) {
            aiVector3D p = global * mesh->mVertices[v];
            MeshVertex mv;
            mv.position = {p.x, p.y, p.z};
            if (mesh->HasNormals()) {
                aiVector3D n = normalMatrix * mesh->mNormals[v];
                mv.normal = normalize(Vec3f{n.x, n.y, n.z});
            }
            if (mesh->HasTextureCoords(0)) {
                mv.u = mesh->mTextureCoords[0][v].x;
                mv.v = mesh->mTextureCoords[0][v].y;
            }
            out.vertices.push_back(mv);
        }
        auto& list = out.indicesPerMaterial[mesh->mMaterialIndex];
        for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
            const aiFace& face = mesh->mFaces[f];
            if (face.mNumIndices != 3) continue;
            for (int c = 0; c < 3; ++c) list.push_back(base + face.mIndices[c]);
        }
    }
}

// The node hierarchy, walked with a stack of our own: the depth a file can ask for is bounded by
// the file check, and even so no deep tree can overflow the call stack here.
void gatherNodes(const aiScene* scene, Gathered& out) {
    std::vector<std::pair<const aiNode*, aiMatrix4x4>> pending;
    pending.emplace_back(scene->mRootNode, aiMatrix4x4());
    // Children are pushed in reverse, so that nodes are visited in the file's order.
    while (!pending.empty()) {
        auto [node, parent] = pending.back();
        pending.pop_back();
        const aiMatrix4x4 global = parent * node->mTransformation;
        gatherNodeMeshes(scene, node, global, out);
        for (unsigned c = node->mNumChildren; c-- > 0;)
            if (node->mChildren[c]) pending.emplace_back(node->mChildren[c], global);
    }
}

// Tom Forsyth's linear-speed vertex cache optimisation of one triangle list.
void orderForVertexCache(uint32_t* indices, size_t indexCount, size_t vertexCount) {
    constexpr int kCacheSize = 32;
    const size_t triCount = indexCount / 3;
    if (triCount < 2) return;
    std::vector<uint32_t> remaining(vertexCount, 0);
    for (size_t i = 0; i < indexCount; ++i) ++remaining[indices[i]];
    std::vector<std::vector<uint32_t>> trisOf(vertexCount);
    for (size_t t = 0; t < triCount; ++t)
        for (int c = 0; c < 3; ++c) trisOf[indices[t * 3 + c]].push_back(static_cast<uint32_t>(t));
    std::vector<int> cachePos(vertexCount, -1);
    std::vector<float> vScore(vertexCount, 0);
    auto score = [&](uint32_t v) {
        if (remaining[v] == 0) return -1.0f;
        float s = 0;
        int pos = cachePos[v];
        if (pos >= 0) {
            s = pos < 3 ? 0.75f : std::pow(1.0f - (pos - 3) / float(kCacheSize - 3), 1.5f);
        }
        return s + 2.0f / std::sqrt(static_cast<float>(remaining[v]));
    };
    for (size_t v = 0; v < vertexCount; ++v) vScore[v] = score(static_cast<uint32_t>(v));
    std::vector<float> tScore(triCount);
    std::vector<bool> emitted(triCount, false);
    for (size_t t = 0; t < triCount; ++t)
        tScore[t] = vScore[indices[t * 3]] + vScore[indices[t * 3 + 1]] + vScore[indices[t * 3 + 2]];
    std::vector<uint32_t> out;
    out.reserve(indexCount);
    std::vector<uint32_t> cache;
    size_t scanCursor = 0;
    long best = -1;
    for (size_t done = 0; done < triCount; ++done) {
        if (best < 0) {  // nothing next to the cache: take the best remaining triangle
            float bestScore = -1;
            for (size_t t = scanCursor; t < triCount; ++t) {
                if (emitted[t]) {
                    if (t == scanCursor) ++scanCursor;
                    continue;
                }
                if (tScore[t] > bestScore) {
                    bestScore = tScore[t];
                    best = static_cast<long>(t);
                }
            }
        }
        const size_t t = static_cast<size_t>(best);
        emitted[t] = true;
        std::vector<uint32_t> newCache;
        for (int c = 0; c < 3; ++c) {
            uint32_t v = indices[t * 3 + c];
            out.push_back(v);
            --remaining[v];
            auto& list = trisOf[v];
            list.erase(std::find(list.begin(), list.end(), static_cast<uint32_t>(t)));
            newCache.push_back(v);
        }
        for (uint32_t v : cache)
            if (std::find(newCache.begin(), newCache.end(), v) == newCache.end()) newCache.push_back(v);
        for (size_t i = 0; i < newCache.size(); ++i) {
            cachePos[newCache[i]] = i < kCacheSize ? int(i) : -1;
            vScore[newCache[i]] = score(newCache[i]);
        }
        if (newCache.size() > kCacheSize) newCache.resize(kCacheSize);
        cache.swap(newCache);
        best = -1;
        float bestScore = -1;
        for (uint32_t v : cache)
            for (uint32_t tri : trisOf[v]) {
                tScore[tri] = vScore[indices[tri * 3]] + vScore[indices[tri * 3 + 1]] + vScore[indices[tri * 3 + 2]];
                if (tScore[tri] > bestScore) {
                    bestScore = tScore[tri];
                    best = tri;
                }
            }
    }
    std::copy(out.begin(), out.end(), indices);
}

}  // namespace

XMeshLoadResult loadXMesh(const std::string& path) {
    XMeshLoadResult result;
    // The file is read here (a regular file of bounded size) and checked; the importer, which
    // trusts the indices it reads, is handed the checked tokens rather than the file itself.
    std::string contents;
    if (!readWholeFile(path, contents, &result.error)) return result;
    std::string checked;
    if (std::optional<std::string> bad = normaliseXFileText(contents, checked)) {
        result.error = *bad;
        return result;
    }
    contents.clear();
    Assimp::Importer importer;
    const aiScene* scene =
        importer.ReadFileFromMemory(checked.data(), checked.size(),
                                    aiProcess_ConvertToLeftHanded | aiProcess_Triangulate | aiProcess_SortByPType, "x");
    if (!scene || !scene->mRootNode || (scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE)) {
        result.error = importer.GetErrorString();
        if (result.error.empty()) result.error = "no scene in " + path;
        return result;
    }
    if (std::optional<std::string> bad = checkScene(scene)) {
        result.error = *bad;
        return result;
    }
    Mesh mesh;
    for (unsigned m = 0; m < scene->mNumMaterials; ++m) {
        const aiMaterial* src = scene->mMaterials[m];
        MeshMaterial mat;
        mat.diffuse = colorOf(src, AI_MATKEY_COLOR_DIFFUSE, {1, 1, 1, 1});
        mat.ambient = colorOf(src, AI_MATKEY_COLOR_AMBIENT, {0, 0, 0, 1});
        mat.specular = colorOf(src, AI_MATKEY_COLOR_SPECULAR, {0, 0, 0, 1});
        mat.emissive = colorOf(src, AI_MATKEY_COLOR_EMISSIVE, {0, 0, 0, 1});
        float opacity = 1;
        if (src->Get(AI_MATKEY_OPACITY, opacity) == AI_SUCCESS) mat.diffuse.a = opacity;
        src->Get(AI_MATKEY_SHININESS, mat.power);
        aiString tex;
        if (src->GetTexture(aiTextureType_DIFFUSE, 0, &tex) == AI_SUCCESS) mat.textureFile = tex.C_Str();
        mesh.materials.push_back(mat);
    }
    Gathered g;
    g.indicesPerMaterial.resize(scene->mNumMaterials);
    gatherNodes(scene, g);
    mesh.vertices = std::move(g.vertices);
    for (uint32_t m = 0; m < g.indicesPerMaterial.size(); ++m) {
        const auto& list = g.indicesPerMaterial[m];
        if (list.empty()) continue;
        mesh.subsets.push_back({m, static_cast<uint32_t>(mesh.indices.size()), static_cast<uint32_t>(list.size())});
        mesh.indices.insert(mesh.indices.end(), list.begin(), list.end());
    }
    result.hadNormals = g.allHaveNormals && !mesh.vertices.empty();
    if (!result.hadNormals) computeNormals(mesh);
    result.mesh = std::move(mesh);
    return result;
}

bool optimizeMeshInPlace(Mesh& mesh) {
    if (mesh.indices.empty() || !meshIsValid(mesh)) return false;
    for (size_t i = 1; i < mesh.subsets.size(); ++i)
        if (mesh.subsets[i].materialIndex == mesh.subsets[i - 1].materialIndex) return false;
    Mesh out;
    out.materials = mesh.materials;
    // Group triangles by material (attribute sort).
    std::vector<MeshSubset> subsets = mesh.subsets;
    if (subsets.empty()) subsets.push_back({0, 0, static_cast<uint32_t>(mesh.indices.size())});
    std::stable_sort(subsets.begin(), subsets.end(),
                     [](const MeshSubset& a, const MeshSubset& b) { return a.materialIndex < b.materialIndex; });
    // Weld vertices whose position, normal and texture coordinates are bit-for-bit equal.
    std::unordered_map<std::string, uint32_t> seen;
    std::vector<uint32_t> remap(mesh.vertices.size());
    std::vector<MeshVertex> welded;
    for (size_t v = 0; v < mesh.vertices.size(); ++v) {
        std::string key(sizeof(MeshVertex), '\0');
        std::memcpy(key.data(), &mesh.vertices[v], sizeof(MeshVertex));
        auto [it, inserted] = seen.emplace(key, static_cast<uint32_t>(welded.size()));
        if (inserted) welded.push_back(mesh.vertices[v]);
        remap[v] = it->second;
    }
    for (const MeshSubset& s : subsets) {
        MeshSubset ns{s.materialIndex, static_cast<uint32_t>(out.indices.size()), s.indexCount};
        for (uint32_t i = 0; i < s.indexCount; ++i) out.indices.push_back(remap[mesh.indices[s.indexStart + i]]);
        orderForVertexCache(out.indices.data() + ns.indexStart, ns.indexCount, welded.size());
        if (ns.indexCount > 0) out.subsets.push_back(ns);
    }
    // Compact: vertices in order of first use, unused ones dropped.
    std::vector<uint32_t> newIndex(welded.size(), UINT32_MAX);
    for (uint32_t& i : out.indices) {
        if (newIndex[i] == UINT32_MAX) {
            newIndex[i] = static_cast<uint32_t>(out.vertices.size());
            out.vertices.push_back(welded[i]);
        }
        i = newIndex[i];
    }
    mesh = std::move(out);
    return true;
}
