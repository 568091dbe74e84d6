// The scene drawn headless through GlDevice: a planet's disc has its true angular size and
// direction and is lit from its star's side; the delivered configuration loads and draws, and
// its frame rate at 1280 x 720 is reported. Skipped where no OpenGL exists.
#include <epoxy/gl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>

#include "gl_device.h"
#include "gl_offscreen_context.h"
#include "scene.h"
#include "startup.h"

namespace fs = std::filesystem;

namespace {

const std::string kDataSource = CELESTRIX_DATA_SOURCE;
const std::string kSphere = kDataSource + "Media/Models/sphere_hi.x";

fs::path tempDataDir(const std::string& name) {
    fs::path dir = fs::temp_directory_path() / ("celestrix_scene_" + std::to_string(::getpid())) / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

SimObject sphereBody(Vec3f positionKm, float radiusKm) {
    SimObject o;
    o.meshPath = kSphere;
    o.positionKm = positionKm;
    o.equatorialRadiusKm = o.polarRadiusKm = radiusKm;
    return o;
}

struct Brightness {
    int at(const Image& image, int x, int y) const {
        const size_t o = image.offset(x, y);
        return std::max({image.rgba[o], image.rgba[o + 1], image.rgba[o + 2]});
    }
};

class SceneGl : public ::testing::Test {
protected:
    void SetUp() override {
        if (!context_.create()) GTEST_SKIP() << "no OpenGL: " << context_.error();
        ASSERT_TRUE(device_.init()) << device_.errorText();
        if (!fs::exists(kSphere)) GTEST_SKIP() << "no sphere mesh in the data directory";
    }
    void frame(Scene& scene, const SimState& state) {
        scene.placeBodies(state);
        scene.setLights(state);
        scene.sortDrawOrder(state);
        scene.render(device_, state);
    }
    GlOffscreenContext context_;
    GlDevice device_;
};

}  // namespace

TEST_F(SceneGl, PlanetDiscHasTrueSizeAndDirectionAndFacesItsStar) {
    constexpr int kW = 320, kH = 240;
    ASSERT_TRUE(device_.resizeBackBuffer(kW, kH));
    const fs::path data = tempDataDir("disc");
    std::ofstream(data / "stars.txt") << "-999\n";  // an empty sky

    const float r = 6378, d = 10 * r;
    SimState state;
    state.dataDirectory = data.string() + "/";
    SimObject star = sphereBody({0, 0, 0}, 696000);
    star.isStar = 1;
    star.lightRed = star.lightGreen = star.lightBlue = star.lightIntensity = 1;
    // Planet straight ahead of the observer (+Z), its star far to the left (-X).
    const Vec3f planetKm{1.5e8f, 0, 0};
    SimObject observer;
    observer.isObserver = 1;
    observer.positionKm = planetKm - Vec3f{0, 0, d};
    state.objects = {star, sphereBody(planetKm, r), observer};
    state.camera = translation(-observer.positionKm.x * kDisplayScale, -observer.positionKm.y * kDisplayScale,
                               -observer.positionKm.z * kDisplayScale);

    Scene scene;
    scene.createScene(state);
    ASSERT_FALSE(scene.onDeviceCreated(state));
    ASSERT_FALSE(scene.onDeviceReset(device_, state, kW, kH));
    EXPECT_EQ(scene.starCount(), 1);
    frame(scene, state);
    EXPECT_EQ(scene.bodies()[1].tessellationLevel, 3);  // q = 1/9
    Image shot;
    ASSERT_TRUE(device_.readBackBuffer(shot));

    // Expected radius in pixels of a sphere seen under the angle asin(R / d).
    const float expected = (kH / 2.0f) * std::tan(std::asin(r / d)) / std::tan(0.7853982f / 2);
    Brightness b;
    int left = kW, right = -1, top = kH, bottom = -1;
    for (int x = 0; x < kW; ++x)
        if (b.at(shot, x, kH / 2) > 4) left = std::min(left, x), right = std::max(right, x);
    for (int y = 0; y < kH; ++y)
        if (b.at(shot, kW / 2, y) > 4) top = std::min(top, y), bottom = std::max(bottom, y);
    ASSERT_GE(right, 0) << "nothing drawn";
    // Centred on the screen: the planet lies straight ahead.
    EXPECT_NEAR((left + right + 1) / 2.0f, kW / 2.0f, 1.0f);
    EXPECT_NEAR((top + bottom + 1) / 2.0f, kH / 2.0f, 1.0f);
    EXPECT_NEAR((right - left + 1) / 2.0f, expected, 1.0f);
    EXPECT_NEAR((bottom - top + 1) / 2.0f, expected, 1.0f);
    // Lit on the star's side (left), only the ambient light on the other.
    const int cx = kW / 2, cy = kH / 2, off = static_cast<int>(expected * 0.6f);
    EXPECT_GT(b.at(shot, cx - off, cy), 60);
    EXPECT_LT(b.at(shot, cx + off, cy), 20);
    EXPECT_GT(b.at(shot, cx + off, cy), 4);  // ambient 0x0A0A0A still shows the night side
    // The sky outside the disc is black (the clear colour never shows through).
    EXPECT_EQ(b.at(shot, 5, 5), 0);

    // Drawing never changes the simulation state.
    const Vec3f before = state.objects[1].positionKm;
    frame(scene, state);
    EXPECT_EQ(state.objects[1].positionKm.x, before.x);
    EXPECT_EQ(state.objects[1].spinAngleRad, 0);

    // A second reset (as after a resize) rebuilds the sky and keeps the stored levels.
    scene.onDeviceLost();
    ASSERT_FALSE(scene.onDeviceReset(device_, state, kW, kH));
    EXPECT_EQ(scene.bodies()[1].tessellationLevel, 3);
    scene.onDeviceLost();
    scene.onDeviceDestroyed();
}

TEST_F(SceneGl, MissingFilesAreReportedAsFileErrors) {
    const fs::path data = tempDataDir("missing");
    SimState state;
    state.dataDirectory = data.string() + "/";
    SimObject planet = sphereBody({0, 0, 1e6f}, 1000);
    planet.texturePath = data.string() + "/none.jpg";  // missing texture: drawn untextured
    SimObject observer;
    state.objects = {planet, observer};
    Scene scene;
    scene.createScene(state);
    ASSERT_FALSE(scene.onDeviceCreated(state));
    EXPECT_TRUE(scene.bodies()[0].drawable);
    EXPECT_EQ(scene.bodies()[0].textures.at(0), nullptr);
    // No stars.txt: its path comes back.
    std::optional<SceneError> e = scene.onDeviceReset(device_, state, 64, 64);
    ASSERT_TRUE(e);
    EXPECT_TRUE(e->isFileError);
    EXPECT_EQ(e->text, state.dataDirectory + "stars.txt");
    // A ring texture that cannot be loaded.
    std::ofstream(data / "stars.txt") << "-999\n";
    scene.onDeviceDestroyed();
    state.objects[0].hasRing = 1;
    state.objects[0].innerRingRadiusKm = 1500;
    state.objects[0].outerRingRadiusKm = 2500;
    state.objects[0].ringTexturePath = data.string() + "/ring.png";
    ASSERT_FALSE(scene.onDeviceCreated(state));
    e = scene.onDeviceReset(device_, state, 64, 64);
    ASSERT_TRUE(e);
    EXPECT_EQ(e->text, state.objects[0].ringTexturePath);
    // A mesh that cannot be loaded.
    scene.onDeviceLost();
    scene.onDeviceDestroyed();
    state.objects[0].meshPath = data.string() + "/none.x";
    e = scene.onDeviceCreated(state);
    ASSERT_TRUE(e);
    EXPECT_EQ(e->text, state.objects[0].meshPath);
}

TEST_F(SceneGl, DeliveredConfigurationDrawsAndReportsItsFrameRate) {
    constexpr int kW = 1280, kH = 720;
    const fs::path data = tempDataDir("delivered");
    fs::copy(kDataSource, data, fs::copy_options::recursive);
    SimState state;
    state.runMode = 1;
    state.dataDirectory = data.string() + "/";
    if (std::optional<StartupError> err = loadStartupState(state)) GTEST_SKIP() << "start-up: " << err->path;
    fillSceneState(state);
    state.camera = translation(-state.observer().positionKm.x * kDisplayScale,
                               -state.observer().positionKm.y * kDisplayScale,
                               -state.observer().positionKm.z * kDisplayScale) *
                   inverse(state.orientation);
    ASSERT_TRUE(device_.resizeBackBuffer(kW, kH));
    Scene scene;
    scene.createScene(state);
    auto t0 = std::chrono::steady_clock::now();
    ASSERT_FALSE(scene.onDeviceCreated(state));
    auto t1 = std::chrono::steady_clock::now();
    ASSERT_FALSE(scene.onDeviceReset(device_, state, kW, kH));
    glFinish();
    auto t2 = std::chrono::steady_clock::now();
    frame(scene, state);  // first frame builds any changed draw mesh
    glFinish();
    constexpr int kFrames = 40;
    auto t3 = std::chrono::steady_clock::now();
    for (int i = 0; i < kFrames; ++i) frame(scene, state);
    glFinish();
    auto t4 = std::chrono::steady_clock::now();
    auto ms = [](auto a, auto b) { return std::chrono::duration<double, std::milli>(b - a).count(); };
    std::printf("objects %zu: device created %.0f ms, reset (sky baked) %.0f ms, %.1f frames/s at %dx%d\n",
                state.objectCount(), ms(t0, t1), ms(t1, t2), kFrames * 1000.0 / ms(t3, t4), kW, kH);
    Image shot;
    ASSERT_TRUE(device_.readBackBuffer(shot));
    size_t nonBlack = 0;
    for (size_t i = 0; i < shot.rgba.size(); i += 4) nonBlack += (shot.rgba[i] | shot.rgba[i + 1] | shot.rgba[i + 2]) ? 1 : 0;
    EXPECT_GT(nonBlack, 50u);  // at least the sky's stars
    scene.onDeviceLost();
    scene.onDeviceDestroyed();
}

TEST_F(SceneGl, BodiesNamingOneTextureAndMeshShareOneLoadAndDrawAlike) {
    SimState state;
    state.dataDirectory = kDataSource;
    SimObject a = sphereBody({0, 0, 1e6f}, 1000);
    a.texturePath = kDataSource + "Media/Textures/moon.jpg";
    SimObject b = a;
    b.positionKm = {0, 0, 2e6f};
    SimObject c = a;
    c.texturePath = kDataSource + "Media/Textures/mars.jpg";
    SimObject star = a;
    star.isStar = 1;
    star.lightRed = 1;
    state.objects = {star, a, b, c, SimObject{}};
    Scene scene;
    scene.createScene(state);
    ASSERT_FALSE(scene.onDeviceCreated(state));
    const auto& bodies = scene.bodies();
    ASSERT_TRUE(bodies[1].texture && bodies[3].texture);
    EXPECT_EQ(bodies[1].texture.get(), bodies[2].texture.get());
    EXPECT_EQ(bodies[0].texture.get(), bodies[1].texture.get());
    EXPECT_NE(bodies[1].texture.get(), bodies[3].texture.get());
    EXPECT_EQ(bodies[1].textures.at(0), bodies[2].textures.at(0));
    // One load, but every body has the mesh as if it had loaded it itself; the star's glow stays its own.
    EXPECT_EQ(bodies[1].mesh.vertices.size(), bodies[3].mesh.vertices.size());
    EXPECT_EQ(bodies[1].mesh.indices, bodies[2].mesh.indices);
    state.dataDirectory = tempDataDir("shared").string() + "/";
    std::ofstream(state.dataDirectory + "stars.txt") << "-999\n";
    ASSERT_FALSE(scene.onDeviceReset(device_, state, 64, 64));
    EXPECT_EQ(scene.bodies()[0].mesh.materials.at(0).emissive.r, 1.0f);
    EXPECT_NE(scene.bodies()[1].mesh.materials.at(0).emissive.r, 1.0f);
}
