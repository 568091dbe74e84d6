// Scene: draws the simulated star system -- every star and planet as a lit, textured mesh at a
// compressed distance that keeps its true apparent size, the sky and the rings. Holds all render
// data per object; it only reads the simulation state.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "draw_mesh.h"
#include "gl_device.h"
#include "mesh.h"
#include "ring_model.h"
#include "scene_placement.h"
#include "sim_state.h"
#include "star_background.h"

// A failure of a device hook. A file error names the file that could not be processed (the
// program ends through its file-error message); otherwise the device reset failed.
struct SceneError {
    bool isFileError = true;
    std::string text;    // the path for a file error, a description otherwise
    std::string reason;  // a file error's cause, when known
};

// Render data of one object.
struct BodyRecord {
    bool hasMesh = false;   // mesh file given and loaded
    bool drawable = false;  // optimised and with at least one material: drawn
    Mesh mesh;              // as loaded and optimised, mesh units
    uint32_t materialCount = 0;
    BoundingSphere bounds;  // mesh units
    std::shared_ptr<GlTexture> texture;         // the body's texture file, shared by every slot and
                                                // by every body that names the same file
    std::vector<const GlTexture*> textures;     // one slot per material; null draws untextured
    std::unique_ptr<RingModel> ring;
    Mat4f unitScale, tilt, world;
    int tessellationLevel = 1;  // level the draw mesh was last built with
    float cullRadius = 0;       // render units around the centre that hold body and ring
    DrawMesh drawMesh;

    // Bounding radius minus the distance of the bounding centre from the origin.
    float meshRadius() const { return bounds.radius - length(bounds.center); }
};

class Scene {
public:
    Scene() = default;
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    // Star count, identity draw order, all levels 1. Once, before the device hooks.
    void createScene(const SimState& state);
    // Meshes, materials, textures and rings. A mesh that cannot be loaded is a file error; a
    // missing body texture leaves the body untextured; a mesh without materials, or one whose
    // optimisation fails, is never drawn.
    std::optional<SceneError> onDeviceCreated(const SimState& state);
    // Unit scale and tilt, the sky, draw meshes at their stored levels, ring resources, star
    // emissive colours, render states and the projection for this back-buffer size.
    std::optional<SceneError> onDeviceReset(GlDevice& device, const SimState& state, int backBufferW,
                                            int backBufferH);
    void onDeviceLost();
    void onDeviceDestroyed();

    // Per-frame steps of the simulation frame, in this order: after the mission time advanced
    // (reads each body's spin angle), after the heads-up text, after the gravity step.
    void placeBodies(const SimState& state);
    void setLights(const SimState& state);
    void sortDrawOrder(const SimState& state);

    // Clears the back buffer and draws the sky, the bodies in draw order and their rings.
    // Leaves counter-clockwise culling, no blending, depth test as last used.
    void render(GlDevice& device, const SimState& state);

    const std::vector<BodyRecord>& bodies() const { return bodies_; }
    const std::vector<int>& drawOrder() const { return drawOrder_; }
    const std::vector<StarLight>& lights() const { return lights_; }
    int starCount() const { return starCount_; }
    float aspect() const { return aspect_; }
    const Mat4f& projection() const { return projection_; }

private:
    void drawBody(GlDevice& device, BodyRecord& body, const SimObject& object, int level);

    std::vector<BodyRecord> bodies_;
    std::vector<int> drawOrder_;
    std::vector<StarLight> lights_;
    int starCount_ = 0;
    float aspect_ = 1;
    Mat4f projection_;
    RenderState sceneState_;  // texture stage, filters, ambient, lighting and projection of the reset
    Mat4f backgroundWorld_;
    std::unique_ptr<StarBackground> sky_;
};
