// Test helpers shared by the test areas: a temporary data directory that removes itself, small
// file helpers, and minimal valid objects (a star and an observer) written with the real writer.
#pragma once

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "object_file.h"
#include "sim_object.h"

namespace testdata {

// A fresh directory under the system's temporary directory; path() ends in "/".
class TempDataDir {
public:
    // base: where to make it (the system's temporary directory when empty).
    explicit TempDataDir(const std::string& base = {}) {
        const std::filesystem::path parent = base.empty() ? std::filesystem::temp_directory_path() : std::filesystem::path(base);
        std::string pattern = (parent / "celestrix_test_XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        path_ = pattern + "/";
    }
    ~TempDataDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDataDir(const TempDataDir&) = delete;
    TempDataDir& operator=(const TempDataDir&) = delete;

    const std::string& path() const { return path_; }
    std::string operator/(const std::string& relative) const { return path_ + relative; }

private:
    std::string path_;
};

// Writes text to dir-relative or absolute path, creating parent directories.
inline void writeText(const std::string& path, const std::string& text) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out) throw std::runtime_error("cannot write " + path);
}

inline std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline bool exists(const std::string& path) { return std::filesystem::exists(path); }

// Names of the files in a directory (no sub-directories), sorted.
inline std::vector<std::string> listFiles(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir))
        if (e.is_regular_file()) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// A star of one solar mass at rest at the origin, drawn with no mesh.
inline SimObject minimalStar() {
    SimObject o;
    o.massKg = 1.989e30f;
    o.equatorialRadiusKm = 696000;
    o.polarRadiusKm = 696000;
    o.isStar = 1;
    o.lightRed = o.lightGreen = o.lightBlue = o.lightIntensity = 1;
    return o;
}

// A massless planet of 1000 km radius 1e8 km out and slightly ahead of minimalObserver: something
// to look at and fly towards that pulls on nothing.
inline SimObject masslessMarker() {
    SimObject o;
    o.isPlanet = 1;
    o.equatorialRadiusKm = o.polarRadiusKm = 1000;
    o.positionKm = {1e8f, 0, 10000};
    return o;
}

// An observer 1e8 km from the origin, at rest, with thruster directions along the axes.
inline SimObject minimalObserver() {
    SimObject o;
    o.massKg = 1000;
    o.positionKm = {1e8f, 0, 0};
    o.isObserver = 1;
    o.forwardDirection = {0, 0, 1};
    o.upDirection = {0, 1, 0};
    o.rightDirection = {1, 0, 0};
    o.angularAccelFactor = 0.001f;
    o.torqueLevel = 0.001f;
    o.forceFactorKNPerS = 100;
    o.energyKJ = 1e10f;
    o.smallJumpFactorKmPerS = 1000;
    o.bigJumpFactorKmPerS = 1e6f;
    o.jumpDistanceKm = 1e5f;
    return o;
}

// Writes obj to dataDir + relativePath with the real writer (Item 0 becomes relativePath).
inline void writeObject(const std::string& dataDir, const std::string& relativePath, SimObject obj) {
    std::filesystem::create_directories(std::filesystem::path(dataDir + relativePath).parent_path());
    obj.ownPath = dataDir + relativePath;
    obj.dataDirectory = dataDir;
    if (!writeObjectFile(obj, dataDir)) throw std::runtime_error("cannot write " + obj.ownPath);
}

// The shipped on-screen control layouts (live and replay), their button bitmaps and the restore
// prompt's two icons.
inline void copyShippedControls(const std::string& dataDir) {
    namespace fs = std::filesystem;
    const std::string source = CELESTRIX_DATA_SOURCE;
    fs::create_directories(dataDir + "Media/Icons");
    for (const char* name : {"guispecs.cfg", "vcrspecs.cfg"})
        fs::copy_file(source + name, dataDir + name, fs::copy_options::overwrite_existing);
    for (const auto& e : fs::directory_iterator(source + "Media/Icons")) {
        const std::string name = e.path().filename().string();
        if (name.rfind("gui_", 0) == 0 || name == "yes64.bmp" || name == "no64.bmp")
            fs::copy_file(e.path(), dataDir + "Media/Icons/" + name, fs::copy_options::overwrite_existing);
    }
}

// A complete live data directory: the two prompt icons, the on-screen control layouts, the three
// selection files, the configuration "Test" listing the objects as "<name>.cfg", their object
// files and time.cfg.
inline void writeLiveDataDir(const std::string& dataDir,
                             const std::vector<std::pair<std::string, SimObject>>& objects,
                             const std::string& timeText = "0") {
    copyShippedControls(dataDir);
    writeText(dataDir + "configfile.cfg", "Test\n-999\n");
    writeText(dataDir + "moviefile.cfg", "Flight\n-999\n");
    writeText(dataDir + "screenshotfile.cfg", "Shots\n-999\n");
    std::string config;
    for (const auto& [name, obj] : objects) {
        config += name + ".cfg\n";
        writeObject(dataDir, "Objects/" + name + ".cfg", obj);
    }
    writeText(dataDir + "Configurations/Test.cfg", config + "-999\n");
    writeText(dataDir + "time.cfg", timeText);
}

}  // namespace testdata
