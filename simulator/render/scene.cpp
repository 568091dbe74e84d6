// Scene device hooks, per-frame placement and the drawing of sky, bodies and rings.
#include "scene.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

#include "image_load.h"
#include "x_mesh.h"

namespace {

ColorF toColorF(const MeshColor& c) { return {c.r, c.g, c.b, c.a}; }

Material firstMaterialForDrawing(const MeshMaterial& m) {
    Material out;
    out.diffuse = toColorF(m.diffuse);
    out.ambient = {1, 1, 1, 1};  // every body takes the full global ambient
    out.emissive = toColorF(m.emissive);
    return out;
}

// Whether a sphere of radius r around `centre` (view space, left-handed, looking along +z) can
// touch the view volume of `projection`. Conservative: a body it rejects cannot cover a pixel.
bool sphereMayBeVisible(Vec3f c, float r, const Mat4f& projection) {
    if (c.z + r < kNearPlane || c.z - r > kFarPlane) return false;
    const float tanX = projection.m[0][0] != 0 ? 1.0f / projection.m[0][0] : 1e30f;
    const float tanY = projection.m[1][1] != 0 ? 1.0f / projection.m[1][1] : 1e30f;
    const float slackX = r * std::sqrt(1 + tanX * tanX), slackY = r * std::sqrt(1 + tanY * tanY);
    return std::fabs(c.x) - c.z * tanX <= slackX && std::fabs(c.y) - c.z * tanY <= slackY;
}

}  // namespace

void Scene::createScene(const SimState& state) {
    const size_t n = state.objectCount();
    bodies_.clear();
    bodies_.resize(n);
    drawOrder_.resize(n);
    for (size_t i = 0; i < n; ++i) drawOrder_[i] = static_cast<int>(i);
    starCount_ = 0;
    for (size_t i = 0; i + 1 < n; ++i)
        if (state.objects[i].isStar) ++starCount_;
    backgroundWorld_ = rotationY(0) * rotationX(0);
}

std::optional<SceneError> Scene::onDeviceCreated(const SimState& state) {
    if (bodies_.size() != state.objectCount()) createScene(state);
    // Each mesh and texture file is loaded once and shared by every body that names it: a
    // configuration of many asteroids would otherwise decode and upload one copy per body.
    struct LoadedMesh {
        Mesh mesh;  // as loaded and optimised
        uint32_t materialCount = 0;
        bool optimised = false;
    };
    std::map<std::string, LoadedMesh> meshes;
    std::map<std::string, std::shared_ptr<GlTexture>> textures;  // null: could not be loaded
    for (size_t i = 0; i < state.objectCount(); ++i) {
        const SimObject& object = state.objects[i];
        BodyRecord& body = bodies_[i];
        body.hasMesh = false;
        body.drawable = false;
        if (!object.hasMesh()) continue;
        auto cachedMesh = meshes.find(object.meshPath);
        if (cachedMesh == meshes.end()) {
            XMeshLoadResult loaded = loadXMesh(object.meshPath);
            if (!loaded.mesh) {
                return SceneError{true, object.meshPath, loaded.error};
            }
            LoadedMesh entry;
            entry.mesh = std::move(*loaded.mesh);
            entry.materialCount = static_cast<uint32_t>(entry.mesh.materials.size());
            entry.optimised = optimizeMeshInPlace(entry.mesh);
            if (!entry.optimised) entry.mesh.materials.clear();  // keeps its material count, left out of drawing
            cachedMesh = meshes.emplace(object.meshPath, std::move(entry)).first;
        }
        // Each body keeps its own copy: a star's glow changes its first material.
        body.hasMesh = true;
        body.mesh = cachedMesh->second.mesh;
        body.materialCount = cachedMesh->second.materialCount;
        if (!cachedMesh->second.optimised) continue;
        body.bounds = computeBoundingSphere(body.mesh);
        if (body.materialCount == 0) continue;
        body.textures.assign(body.materialCount, nullptr);
        auto cachedTexture = textures.find(object.texturePath);
        if (cachedTexture == textures.end()) {
            std::shared_ptr<GlTexture> texture;
            if (object.texturePath != kNaPath) {
                std::string textureError;
                if (std::optional<Image> picture = loadImageFile(object.texturePath, &textureError)) {
                    texture = std::make_shared<GlTexture>();
                    if (!texture->create(*picture, true)) texture.reset();
                } else {
                    std::fprintf(stderr, "corvane: warning: %s; bodies with this texture are drawn without it\n",
                                 textureError.c_str());
                }
            }
            cachedTexture = textures.emplace(object.texturePath, std::move(texture)).first;
        }
        body.texture = cachedTexture->second;
        if (body.texture)
            for (const GlTexture*& slot : body.textures) slot = body.texture.get();
        body.drawable = true;
        if (object.hasRing)
            body.ring = std::make_unique<RingModel>(
                ringRadiiInMeshUnits(object.innerRingRadiusKm, object.outerRingRadiusKm, object.equatorialRadiusKm,
                                     body.meshRadius()),
                object.ringTexturePath);
    }
    return std::nullopt;
}

std::optional<SceneError> Scene::onDeviceReset(GlDevice& device, const SimState& state, int backBufferW,
                                               int backBufferH) {
    if (bodies_.size() != state.objectCount()) return SceneError{false, "the scene was not created", {}};
    for (size_t i = 0; i < state.objectCount(); ++i) {
        BodyRecord& body = bodies_[i];
        if (!body.hasMesh) continue;
        const SimObject& object = state.objects[i];
        body.unitScale = unitScaleMatrix(body.meshRadius(), object.polarRadiusKm, object.equatorialRadiusKm);
        body.tilt = rotationX(object.tiltRad);
        // Display-space radius that holds the mesh (curved a little further by the patches) and
        // its ring.
        const float meshRadius = body.meshRadius();
        float extent = meshRadius > 0 ? body.bounds.radius / meshRadius : 1.0f;
        if (body.ring && meshRadius > 0) extent = std::max(extent, body.ring->radii().outer / meshRadius);
        body.cullRadius = 1.25f * kBodyDisplayRadius * extent;
    }
    sky_ = std::make_unique<StarBackground>(64);
    if (std::optional<std::string> missing = sky_->create(state.dataDirectory)) {
        sky_.reset();
        return SceneError{true, *missing, {}};
    }
    for (size_t i = 0; i < state.objectCount(); ++i) {
        BodyRecord& body = bodies_[i];
        if (!body.drawable) continue;
        if (!body.drawMesh.build(body.mesh, body.tessellationLevel))
            return SceneError{false, "cannot build the draw mesh of " + state.objects[i].meshPath, {}};
        const SimObject& object = state.objects[i];
        if (body.ring && !body.ring->buildResources(object.equatorialRadiusKm, object.innerRingRadiusKm,
                                                    object.outerRingRadiusKm))
            return SceneError{true, object.ringTexturePath, {}};
    }
    // Stars glow in their light colour.
    for (size_t i = 0; i + 1 < state.objectCount(); ++i) {
        const SimObject& object = state.objects[i];
        BodyRecord& body = bodies_[i];
        if (object.isStar && body.drawable && !body.mesh.materials.empty())
            body.mesh.materials[0].emissive = {object.lightRed, object.lightGreen, object.lightBlue,
                                               body.mesh.materials[0].emissive.a};
    }
    device.setTextureOps(TextureOp::Modulate, TextureOp::Modulate);
    device.setFilters(TextureFilter::Linear, TextureFilter::Linear, TextureFilter::Linear);
    device.setAmbient(kGlobalAmbientArgb);
    device.setLighting(true);
    aspect_ = backBufferH > 0 ? static_cast<float>(backBufferW) / static_cast<float>(backBufferH) : 1.0f;
    projection_ = perspectiveFovLH(state.fieldOfViewRad, aspect_, kNearPlane, kFarPlane);
    device.setProjection(projection_);
    sceneState_ = device.state();
    return std::nullopt;
}

void Scene::onDeviceLost() {
    for (BodyRecord& body : bodies_) {
        body.drawMesh.release();
        if (body.ring) body.ring->releaseResources();
    }
    if (sky_) sky_->release();
    sky_.reset();
}

void Scene::onDeviceDestroyed() {
    for (BodyRecord& body : bodies_) {
        body.textures.clear();
        body.texture.reset();
        body.mesh = Mesh{};
        body.materialCount = 0;
        body.ring.reset();
        body.hasMesh = body.drawable = false;
    }
}

void Scene::placeBodies(const SimState& state) {
    if (bodies_.size() != state.objectCount() || state.objects.empty()) return;
    const Vec3f observer = state.observer().positionKm;
    const Vec3f meanStar = meanStarDirection(state.objects);
    for (size_t i = 0; i < state.objectCount(); ++i) {
        BodyRecord& body = bodies_[i];
        if (!body.hasMesh) continue;
        const SimObject& object = state.objects[i];
        body.world = bodyWorldMatrix(object, observer, body.tilt, body.unitScale);
        if (body.ring)
            body.ring->world = ringWorldMatrix(object, observer, body.tilt, body.unitScale, starCount_, meanStar);
    }
}

void Scene::setLights(const SimState& state) { lights_ = starLights(state.objects); }

void Scene::sortDrawOrder(const SimState& state) {
    if (drawOrder_.size() != state.objectCount()) return;
    sortFarthestFirst(drawOrder_, state.objects);
}

void Scene::drawBody(GlDevice& device, BodyRecord& body, const SimObject& object, int level) {
    if (level != body.tessellationLevel) {
        // A failed rebuild leaves the body without a draw mesh until the level changes again.
        body.drawMesh.build(body.mesh, level);
    }
    device.setWorld(body.world);
    const Material material = firstMaterialForDrawing(body.mesh.materials[0]);
    for (uint32_t i = 0; i < body.materialCount; ++i) {
        device.setMaterial(material);
        device.setTexture(i < body.textures.size() ? body.textures[i] : nullptr);
        body.drawMesh.drawSubset(device, i);
    }
    device.setTexture(nullptr);
    if (object.hasRing && body.ring) {
        body.ring->draw(device);
        // The ring leaves clockwise culling behind; the bodies drawn after it need their usual
        // counter-clockwise culling, or they would show their far side.
        device.setCull(CullMode::CounterClockwise);
    }
    body.tessellationLevel = level;
}

void Scene::render(GlDevice& device, const SimState& state) {
    device.clear(true, kClearColorArgb, true, 1.0f);
    if (bodies_.size() != state.objectCount() || state.objects.empty()) return;
    // Start from the states set at the reset, whatever the overlays drew with last frame.
    device.setState(sceneState_);
    device.setView(state.camera);
    for (int i = 0; i < kMaxLights; ++i) device.enableLight(i, false);
    for (const StarLight& light : lights_) {
        if (light.index >= kMaxLights) break;
        device.setLight(light.index, {light.diffuseRgb.x, light.diffuseRgb.y, light.diffuseRgb.z, 0}, light.direction);
        device.enableLight(light.index, true);
    }
    device.setBlend(false);
    if (sky_) sky_->draw(device, backgroundWorld_, state.camera);
    device.setTextureOps(TextureOp::Modulate, TextureOp::Modulate);
    const Vec3f observer = state.observer().positionKm;
    for (int index : drawOrder_) {
        BodyRecord& body = bodies_[static_cast<size_t>(index)];
        if (!body.drawable) continue;
        const SimObject& object = state.objects[static_cast<size_t>(index)];
        const bool depth = object.hasRing == 1;
        device.setDepthTest(depth);
        device.setDepthWrite(depth);
        const int level = tessellationLevel(length(object.positionKm - observer), object.equatorialRadiusKm);
        // Bodies outside the view volume are skipped: they would not change a pixel.
        if (!sphereMayBeVisible(transformPoint({0, 0, 0}, body.world * state.camera), body.cullRadius, projection_))
            continue;
        drawBody(device, body, object, level);
    }
}
