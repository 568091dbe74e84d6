// The readers take paths, so each input is handed to them as a file: an in-memory file
// (memfd) reached through /proc/self/fd, which is a regular file to every check and never
// touches the disk.
#include "fuzz_targets.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>

#include "bmp_file.h"
#include "config_file.h"
#include "image_load.h"
#include "object_file.h"
#include "recording_file.h"
#include "script_input.h"
#include "selection_file.h"
#include "sky_bake.h"
#include "state_check.h"
#include "view_files.h"
#include "x_file_check.h"
#include "x_mesh.h"

namespace {

// The path of an in-memory file that holds exactly the input.
std::string asFile(const uint8_t* data, size_t size) {
    static int fd = [] {
        int made = memfd_create("celestrix-fuzz", MFD_CLOEXEC);
        if (made < 0) std::abort();
        return made;
    }();
    if (ftruncate(fd, 0) != 0) std::abort();
    size_t done = 0;
    while (done < size) {
        ssize_t n = pwrite(fd, data + done, size - done, static_cast<off_t>(done));
        if (n <= 0) std::abort();
        done += static_cast<size_t>(n);
    }
    return "/proc/self/fd/" + std::to_string(fd);
}

// A reader that accepts a file must hand back only finite numbers where it checks them.
void objectFile(const uint8_t* data, size_t size) {
    SimObject obj;
    std::string reason;
    if (readObjectFile(obj, asFile(data, size), "/data/", &reason)) {
        for (int item = 1; item < kObjectItemCount; ++item)
            if (const float* f = objectFloatItem(obj, item))
                if (!std::isfinite(*f)) std::abort();
        (void)formatObjectFile(obj, "/data/");
    } else if (reason.empty()) {
        std::abort();  // every refusal says why
    }
}

void configuration(const uint8_t* data, size_t size) {
    std::vector<std::string> entries;
    if (readConfigurationFile(asFile(data, size), entries) && entries.size() > 1000) std::abort();
}

void selection(const uint8_t* data, size_t size) {
    std::string name;
    if (readSelectionFile(asFile(data, size), name) && name.size() > 259) std::abort();
    (void)isSafePathName(name);
}

void timeFile(const uint8_t* data, size_t size) {
    float t = 0;
    if (readTimeFile(asFile(data, size), t) && !std::isfinite(t)) std::abort();
}

void lastView(const uint8_t* data, size_t size) {
    Mat4f m;
    if (readLastView(asFile(data, size), m))
        for (const auto& row : m.m)
            for (float v : row)
                if (!std::isfinite(v)) std::abort();
}

void recording(const uint8_t* data, size_t size) {
    std::vector<std::string> lines;
    if (!readRecordingLines(asFile(data, size), lines)) return;
    ReplayTables tables;
    std::string first, reason;
    if (parseRecording(lines, "/data/", tables, first, &reason)) {
        if (tables.frameTimesS.size() != tables.controlWords.size()) std::abort();
        for (int start : tables.sequenceFirstFrame)
            if (start < 0 || static_cast<size_t>(start) > tables.frameTimesS.size()) std::abort();
    }
}

void starCatalogue(const uint8_t* data, size_t size) {
    if (auto stars = readStarCatalogue(asFile(data, size)))
        for (const CatalogueStar& star : *stars) (void)skyTexelFor(star);
}

void image(const uint8_t* data, size_t size) {
    std::string error;
    if (auto picture = loadImageFile(asFile(data, size), &error)) {
        if (!imageSizeAllowed(picture->width, picture->height)) std::abort();
        if (picture->rgba.size() != static_cast<size_t>(picture->width) * picture->height * 4) std::abort();
    }
}

void bmp(const uint8_t* data, size_t size) {
    Image picture;
    if (decodeBmp(data, size, picture) && picture.rgba.size() != picture.offset(0, picture.height)) std::abort();
}

void xMesh(const uint8_t* data, size_t size) {
    (void)checkXFileText(std::string_view(reinterpret_cast<const char*>(data), size));
    XMeshLoadResult loaded = loadXMesh(asFile(data, size));
    if (!loaded.mesh) return;
    for (uint32_t index : loaded.mesh->indices)
        if (index >= loaded.mesh->vertices.size()) std::abort();
    Mesh optimised = *loaded.mesh;
    (void)optimizeMeshInPlace(optimised);
}

void script(const uint8_t* data, size_t size) {
    (void)parseScriptInput(std::string(reinterpret_cast<const char*>(data), size), "script.txt");
}

}  // namespace

const std::vector<FuzzTarget>& fuzzTargets() {
    static const std::vector<FuzzTarget> targets = {
        {"object_file", objectFile}, {"configuration", configuration}, {"selection", selection},
        {"time_file", timeFile},     {"last_view", lastView},          {"recording", recording},
        {"stars", starCatalogue},    {"image", image},                 {"bmp", bmp},
        {"x_mesh", xMesh},           {"script", script},
    };
    return targets;
}

const FuzzTarget* findFuzzTarget(const std::string& name) {
    for (const FuzzTarget& t : fuzzTargets())
        if (name == t.name) return &t;
    return nullptr;
}
