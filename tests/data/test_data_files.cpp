// Checks of the installed data files: the data-directory layout, selection and state files, the
// restore backups, the star catalogue, the on-screen control layouts, meshes and pictures.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "config_file.h"
#include "image_load.h"
#include "test_data_dir.h"
#include "x_mesh.h"

namespace {

const std::string kData = CELESTRIX_DATA_SOURCE;
const std::string kTools = CELESTRIX_TOOLS_DIR;
const std::string kPython = CELESTRIX_PYTHON;

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

// Leading integer of a line, as the terminator test reads it.
bool isTerminator(const std::string& line) { return std::atoi(line.c_str()) == -999; }

// Values of a layout file by position: non-comment lines before the terminator, each value
// starting two characters after the first "=".
std::vector<std::string> layoutValues(const std::string& path) {
    std::vector<std::string> values;
    for (const std::string& line : lines(testdata::readText(path))) {
        if (!line.empty() && line[0] == '#') continue;
        if (isTerminator(line)) return values;
        size_t eq = line.find('=');
        EXPECT_NE(eq, std::string::npos) << path << ": " << line;
        values.push_back(eq == std::string::npos ? "" : line.substr(eq + 2));
    }
    ADD_FAILURE() << path << " has no -999 line";
    return values;
}

struct LayoutIcon {
    std::string file;
    float size = 0, x = 0, y = 0;
    int xOffset = 0, yOffset = 0;
};

// Pairs per component, and every icon with its place; fails the test on a malformed file.
std::vector<std::vector<LayoutIcon>> readLayout(const std::string& path) {
    std::vector<std::string> v = layoutValues(path);
    std::vector<std::vector<LayoutIcon>> components;
    size_t at = 0;
    auto next = [&]() -> std::string {
        if (at >= v.size()) {
            ADD_FAILURE() << path << " ends early";
            return "0";
        }
        return v[at++];
    };
    int count = std::atoi(next().c_str());
    for (int c = 0; c < count && at < v.size(); ++c) {
        int hitMode = std::atoi(next().c_str());
        EXPECT_NE(hitMode, 0) << "buttons have their own hit squares";
        next();
        next();
        int xOffset = std::atoi(next().c_str());
        int yOffset = std::atoi(next().c_str());
        int n = std::atoi(next().c_str());
        EXPECT_EQ(n % 2, 0) << path << " component " << c << " holds whole pairs";
        std::vector<LayoutIcon> icons(size_t(std::max(n, 0)));
        for (auto& icon : icons) icon.file = next();
        for (auto& icon : icons) icon.size = std::strtof(next().c_str(), nullptr);
        for (auto& icon : icons) {
            icon.x = std::strtof(next().c_str(), nullptr);
            icon.y = std::strtof(next().c_str(), nullptr);
            icon.xOffset = xOffset;
            icon.yOffset = yOffset;
        }
        components.push_back(icons);
    }
    EXPECT_EQ(at, v.size()) << path << " has values beyond its last component";
    return components;
}

void expectLayout(const std::string& name, const std::vector<size_t>& pairs) {
    auto components = readLayout(kData + name);
    ASSERT_EQ(components.size(), pairs.size()) << name;
    std::vector<std::pair<int, int>> corners;
    for (size_t c = 0; c < components.size(); ++c) {
        EXPECT_EQ(components[c].size(), 2 * pairs[c]) << name << " component " << c;
        for (size_t j = 0; j < components[c].size(); ++j) {
            const LayoutIcon& icon = components[c][j];
            Image image;
            std::string error;
            auto loaded = loadImageFile(kData + icon.file, &error);
            ASSERT_TRUE(loaded.has_value()) << icon.file << ": " << error;
            EXPECT_EQ(float(loaded->width), icon.size) << icon.file;
            EXPECT_EQ(float(loaded->height), icon.size) << icon.file;
            // Placed along the right edge, clear of the heads-up text in the top-left corner
            // of a 1024-pixel-wide screen and within a 720-pixel-high one.
            int left = int(icon.x) + icon.xOffset, top = int(icon.y) + icon.yOffset;
            EXPECT_GE(left, -400) << icon.file;
            EXPECT_LE(left, -32) << icon.file;
            EXPECT_GE(top, 0) << icon.file;
            EXPECT_LE(top + 32, 720) << icon.file;
            if (j % 2 == 1) {
                const LayoutIcon& off = components[c][j - 1];
                EXPECT_EQ(off.x, icon.x) << "a pair shares one place";
                EXPECT_EQ(off.y, icon.y) << "a pair shares one place";
                EXPECT_NE(off.file, icon.file);
                corners.push_back({left, top});
            }
        }
    }
    for (size_t a = 0; a < corners.size(); ++a)
        for (size_t b = a + 1; b < corners.size(); ++b)
            EXPECT_FALSE(std::abs(corners[a].first - corners[b].first) < 32 &&
                         std::abs(corners[a].second - corners[b].second) < 32)
                << name << ": buttons " << a << " and " << b << " overlap";
}

}  // namespace

TEST(DataDirectory, HoldsEveryInstalledFileAndTheStartState) {
    for (const char* relative :
         {"configfile.cfg", "moviefile.cfg", "screenshotfile.cfg", "time.cfg", "last_view.cfg",
          "Configurations/Default Configuration.cfg", "Media/Icons/yes64.bmp",
          "Media/Icons/no64.bmp", "Media/Icons/destination64.bmp", "Media/Icons/yellow32.bmp",
          "Media/Icons/red32.bmp", "Media/Icons/bullseye128.bmp", "Media/Icons/background32.bmp",
          "Media/Misc/shuttle_start.bmp", "stars.txt", "guispecs.cfg", "vcrspecs.cfg",
          "CfgTemplate.cfg", "Help/HTML/tutorial.html", "Help/HTML/tutorial_cfgmgr.html",
          "Help/HTML/tutorial_cfgobject.html", "Help/HTML/tutorial_specorbit.html", "CREDITS",
          "Media/Launcher/launch_pad.bmp", "Media/Launcher/tile64.bmp",
          "Media/Launcher/tile32.bmp"})
        EXPECT_TRUE(testdata::exists(kData + relative)) << relative;
    EXPECT_TRUE(std::filesystem::is_directory(kData + "Media/Ring Textures"));

    EXPECT_EQ(testdata::readText(kData + "configfile.cfg"), "Default Configuration\n-999\n");
    for (const char* name : {"moviefile.cfg", "screenshotfile.cfg"}) {
        auto selection = lines(testdata::readText(kData + name));
        ASSERT_EQ(selection.size(), 2u) << name;
        EXPECT_FALSE(selection[0].empty()) << name;
        EXPECT_EQ(selection[0].find_first_of("/\\"), std::string::npos) << name;
        EXPECT_EQ(selection[1], "-999") << name;
    }
    EXPECT_EQ(testdata::readText(kData + "time.cfg"), "0");
    EXPECT_EQ(testdata::readText(kData + "last_view.cfg"), "1 0 0 0\n0 1 0 0\n0 0 1 0\n0 0 0 1\n");

    // Pictures with fixed sizes, all readable by the simulator's own image loader.
    const std::vector<std::tuple<const char*, int, int>> sized = {
        {"Media/Icons/yes64.bmp", 64, 64},       {"Media/Icons/no64.bmp", 64, 64},
        {"Media/Icons/destination64.bmp", 64, 64}, {"Media/Icons/yellow32.bmp", 32, 32},
        {"Media/Icons/red32.bmp", 32, 32},       {"Media/Icons/bullseye128.bmp", 128, 128},
        {"Media/Icons/background32.bmp", 32, 32}, {"Media/Launcher/tile64.bmp", 64, 64},
        {"Media/Launcher/tile32.bmp", 32, 32},   {"Media/Launcher/drag_one.bmp", 88, 16},
        {"Media/Launcher/drag_many.bmp", 89, 16}};
    for (const auto& [relative, w, h] : sized) {
        auto image = loadImageFile(kData + relative);
        ASSERT_TRUE(image.has_value()) << relative;
        EXPECT_EQ(image->width, w) << relative;
        EXPECT_EQ(image->height, h) << relative;
    }
    auto yes = loadImageFile(kData + "Media/Icons/yes64.bmp");
    ASSERT_TRUE(yes.has_value());
    EXPECT_EQ(pixelArgb(*yes, 0, 0) & 0xFFFFFF, 0u) << "corners are black, the transparent colour";
    EXPECT_NE(pixelArgb(*yes, 32, 32) & 0xFFFFFF, 0u);
}

TEST(DataDirectory, BackupHoldsPristineCopiesOfEveryRestoredFile) {
    const std::string backup = kData + "Backup Default Config/";
    const std::vector<std::pair<std::string, std::string>> restored = {
        {"configfile.cfg", "configfile.cfg"},
        {"Default Configuration.cfg", "Configurations/Default Configuration.cfg"},
        {"moviefile.cfg", "moviefile.cfg"},     {"screenshotfile.cfg", "screenshotfile.cfg"},
        {"time.cfg", "time.cfg"},               {"guispecs.cfg", "guispecs.cfg"},
        {"vcrspecs.cfg", "vcrspecs.cfg"},       {"CfgTemplate.cfg", "CfgTemplate.cfg"},
        {"last_view.cfg", "last_view.cfg"}};
    for (const auto& [source, target] : restored) {
        ASSERT_TRUE(testdata::exists(backup + source)) << source;
        EXPECT_EQ(testdata::readText(backup + source), testdata::readText(kData + target)) << source;
    }
    std::vector<std::string> entries;
    ASSERT_TRUE(readConfigurationFile(backup + "Default Configuration.cfg", entries));
    ASSERT_FALSE(entries.empty());
    for (const std::string& entry : entries) {
        ASSERT_TRUE(testdata::exists(backup + entry)) << entry;
        EXPECT_EQ(testdata::readText(backup + entry), testdata::readText(kData + "Objects/" + entry))
            << entry;
    }
    EXPECT_EQ(testdata::listFiles(backup).size(), restored.size() + entries.size())
        << "nothing else lies in the backup folder";
}

TEST(DataDirectory, StarCatalogueParsesToItsEndMarker) {
    std::vector<std::string> all = lines(testdata::readText(kData + "stars.txt"));
    size_t count = 0;
    while (count < all.size() && !isTerminator(all[count])) ++count;
    ASSERT_LT(count, all.size()) << "no -999 line";
    EXPECT_EQ(count + 1, all.size()) << "nothing follows the -999 line";
    EXPECT_GT(count, 9000u);
    float previousMagnitude = 100;
    int brightRedStars = 0;
    for (size_t i = 0; i < count; ++i) {
        std::istringstream record(all[i]);
        int number = 0;
        float ra = 0, dec = 0, magnitude = 0, bv = 0;
        std::string extra;
        ASSERT_TRUE(record >> number >> ra >> dec >> magnitude >> bv) << "line " << i + 1;
        EXPECT_FALSE(record >> extra) << "line " << i + 1 << " holds five numbers";
        EXPECT_GT(number, 0);
        EXPECT_GE(ra, 0);
        EXPECT_LT(ra, 24);
        EXPECT_GE(dec, -90);
        EXPECT_LE(dec, 90);
        EXPECT_GE(magnitude, -2);
        EXPECT_LE(magnitude, 8.5);
        EXPECT_GE(bv, -0.5);
        EXPECT_LE(bv, 4.0);  // carbon stars such as R Leporis reach 3.5
        EXPECT_LE(magnitude, previousMagnitude) << "fainter stars come first, line " << i + 1;
        previousMagnitude = magnitude;
        if (magnitude < 1.5f && bv > 1.0f) ++brightRedStars;
    }
    // Arcturus, Aldebaran, Antares, Betelgeuse and Pollux are bright and orange or red.
    EXPECT_GE(brightRedStars, 4);
    EXPECT_NE(testdata::readText(kData + "stars.txt").find("\n2491 6.7525 -16.7161 -1.46 "),
              std::string::npos)
        << "Sirius";
}

TEST(DataDirectory, ControlLayoutsMatchTheBindingsOfBothModes) {
    expectLayout("guispecs.cfg", {1, 5, 11, 20, 1});
    expectLayout("vcrspecs.cfg", {1, 4, 11, 20});
}

// Spheres of the body display radius, so that drawing them needs no scaling and their unit
// normals light them at full strength.
TEST(DataDirectory, MeshesLoadAsTexturedOutwardFacingSpheresOfDisplayRadius) {
    const float radius = 2.31417f;
    auto models = testdata::listFiles(kData + "Media/Models");
    ASSERT_EQ(models.size(), 3u);
    for (const std::string& name : models) {
        XMeshLoadResult result = loadXMesh(kData + "Media/Models/" + name);
        ASSERT_TRUE(result.mesh.has_value()) << name << ": " << result.error;
        const Mesh& mesh = *result.mesh;
        EXPECT_TRUE(result.hadNormals) << name;
        ASSERT_EQ(mesh.materials.size(), 1u) << name;
        EXPECT_FALSE(mesh.materials[0].textureFile.empty()) << name;
        EXPECT_FLOAT_EQ(mesh.materials[0].diffuse.r, 1);
        EXPECT_TRUE(meshIsValid(mesh)) << name;
        EXPECT_GE(mesh.triangleCount(), 200u) << name;
        float minU = 1, maxU = 0, minV = 1, maxV = 0;
        for (const MeshVertex& v : mesh.vertices) {
            EXPECT_NEAR(length(v.position), radius, 1e-4f) << name;
            EXPECT_NEAR(length(v.normal), 1.0f, 1e-4f) << name;
            EXPECT_NEAR(dot(v.normal, v.position), radius, 1e-3f) << name << ": normal along radius";
            minU = std::min(minU, v.u), maxU = std::max(maxU, v.u);
            minV = std::min(minV, v.v), maxV = std::max(maxV, v.v);
            // Longitude 0 (u = 0.5) lies along +z, east (u > 0.5) toward -x; north is v = 0.
            if (std::fabs(v.position.y) < 0.99f * radius) {
                const Vec3f d = v.position * (1 / radius);
                float lon = std::atan2(-d.x, d.z);
                float expectedU = lon / 6.2831853f + 0.5f;
                if (std::fabs(expectedU - v.u) > 0.5f) expectedU += expectedU < v.u ? 1.0f : -1.0f;
                EXPECT_NEAR(v.u, expectedU, 1e-3f) << name;
                EXPECT_NEAR(v.v, std::acos(d.y) / 3.1415927f, 1e-3f) << name;
            }
        }
        EXPECT_FLOAT_EQ(minU, 0);
        EXPECT_FLOAT_EQ(maxU, 1);
        EXPECT_FLOAT_EQ(minV, 0);
        EXPECT_FLOAT_EQ(maxV, 1);
        // Direct3D front faces are clockwise: the edge cross product points outward.
        for (size_t t = 0; t < mesh.indices.size(); t += 3) {
            Vec3f a = mesh.vertices[mesh.indices[t]].position;
            Vec3f b = mesh.vertices[mesh.indices[t + 1]].position;
            Vec3f c = mesh.vertices[mesh.indices[t + 2]].position;
            EXPECT_GT(dot(cross(b - a, c - a), a + b + c), 0) << name << " triangle " << t / 3;
        }
    }
}

TEST(DataDirectory, TexturesDecodeAndTheRingHasTransparentGaps) {
    for (const std::string& name : testdata::listFiles(kData + "Media/Textures")) {
        std::string error;
        auto image = loadImageFile(kData + "Media/Textures/" + name, &error);
        ASSERT_TRUE(image.has_value()) << name << ": " << error;
        EXPECT_EQ(image->width, 2 * image->height) << name << " is a longitude/latitude map";
        EXPECT_LE(std::filesystem::file_size(kData + "Media/Textures/" + name), 1u << 20) << name;
    }
    auto earth = loadImageFile(kData + "Media/Textures/earth.jpg");
    ASSERT_TRUE(earth.has_value());
    EXPECT_GE(earth->width, 2048);
    auto ring = loadImageFile(kData + "Media/Ring Textures/saturn_ring.png");
    ASSERT_TRUE(ring.has_value());
    int opaque = 0, clear = 0;
    for (int x = 0; x < ring->width; ++x) {
        uint32_t alpha = pixelArgb(*ring, x, ring->height / 2) >> 24;
        opaque += alpha > 200;
        clear += alpha < 60;
    }
    EXPECT_GT(opaque, ring->width / 4);
    EXPECT_GT(clear, 2) << "the Cassini division and the Encke gap let light through";
    // The shadow reads the texture along the radius with clamped coordinates: off the ring it
    // gets the edge columns, which must let everything through.
    for (int y = 0; y < ring->height; ++y) {
        EXPECT_EQ(pixelArgb(*ring, 0, y) >> 24, 0u) << "row " << y;
        EXPECT_EQ(pixelArgb(*ring, ring->width - 1, y) >> 24, 0u) << "row " << y;
    }
}

TEST(DataDirectory, QuickGeneratorsReproduceTheirFilesExactly) {
    const std::string probe = "\"" + kPython + "\" --version > /dev/null 2>&1";
    if (std::system(probe.c_str()) != 0) GTEST_SKIP() << "no python3";
    testdata::TempDataDir out;
    std::string command = "\"" + kPython + "\" \"" + kTools + "make_all.py\" --fast --out \"" + out.path() + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    size_t compared = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(out.path())) {
        if (!entry.is_regular_file()) continue;
        std::string relative = std::filesystem::relative(entry.path(), out.path()).string();
        EXPECT_EQ(testdata::readText(entry.path().string()), testdata::readText(kData + relative))
            << relative << " differs from its generator's output";
        ++compared;
    }
    EXPECT_GE(compared, 40u);
}
