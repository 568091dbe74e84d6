// The simulator's readers as fuzz targets. They take paths, so each input is handed to them as an
// in-memory file (fuzz_input_file.h).
#include "fuzz_targets.h"

#include <cmath>
#include <cstdlib>

#include "bmp_file.h"
#include "config_file.h"
#include "exact_replay_file.h"
#include "exact_state_record.h"
#include "fuzz_input_file.h"
#include "gui_components.h"
#include "image_load.h"
#include "object_file.h"
#include "recording_file.h"
#include "script_input.h"
#include "selection_file.h"
#include "sky_bake.h"
#include "sim_state.h"
#include "state_check.h"
#include "view_files.h"
#include "x_file_check.h"
#include "x_mesh.h"

namespace {

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

// Builds the controls of a small layout the way a run without a window does (icons read from the
// delivered data, no textures) and hovers and clicks every icon: the placement arithmetic must
// hold for any number the file gives. Larger layouts are only read, to keep the runs quick.
void buildGuiLayout(const std::string& path, const std::vector<GuiComponentSpec>& read) {
    size_t icons = 0;
    for (const GuiComponentSpec& spec : read) icons += spec.iconFiles.size();
    if (icons > 4) return;
    std::vector<GuiComponent> components;
    std::vector<GuiComponentSpec> specs;
    const GuiLoadResult built = loadGuiComponents(path, CELESTRIX_DATA_SOURCE, 1280, false, components, specs);
    if (!built.ok) {
        // The file itself was read above; a failed icon must be named, or the run would go on
        // without its controls and without an error.
        if (!built.unreadableFile.empty() || built.failedIcon.empty()) std::abort();
        return;
    }
    if (components.size() != read.size()) std::abort();
    SimState state;
    const std::vector<GuiBindingTable> bindings = liveGuiBindings(state);
    for (size_t c = 0; c < components.size(); ++c) {
        GuiComponent& component = components[c];
        if (component.icons.size() != read[c].iconFiles.size()) std::abort();
        for (size_t i = 0; i < component.icons.size(); ++i) {
            const IconRect r = component.icons[i].hitRect;
            const int x = static_cast<int>((static_cast<int64_t>(r.left) + r.right) / 2);
            const int y = static_cast<int>((static_cast<int64_t>(r.top) + r.bottom) / 2);
            updateAndDrawComponent(component, x, y, nullptr);
            const GuiBindingTable none;
            (void)clickComponent(component, c < bindings.size() ? bindings[c] : none);
        }
    }
}

// What the control builder relies on: at most 1000 components of at most 1000 icons, one file, size
// and position per icon, every size positive and every number finite.
void guiLayout(const uint8_t* data, size_t size) {
    const std::string path = asFile(data, size);
    std::string reason;
    std::optional<std::vector<GuiComponentSpec>> specs = readGuiSpecFile(path, &reason);
    if (!specs) {
        if (reason.empty()) std::abort();  // every refusal says why
        return;
    }
    if (specs->size() > 1000) std::abort();
    for (const GuiComponentSpec& spec : *specs) {
        const size_t icons = spec.iconFiles.size();
        if (icons > 1000 || spec.iconSizes.size() != icons || spec.iconPositions.size() != icons) std::abort();
        if (!std::isfinite(spec.hitHeight) || !std::isfinite(spec.hitWidth)) std::abort();
        for (float s : spec.iconSizes)
            if (!std::isfinite(s) || !(s > 0)) std::abort();
        for (const Point2f& p : spec.iconPositions)
            if (!std::isfinite(p.x) || !std::isfinite(p.y)) std::abort();
    }
    buildGuiLayout(path, *specs);
}

// The exact state record of a live run of two objects whose saved files are in place: whatever
// the record holds, it is either used with a finite state as the result or refused with a reason.
void exactStateRecord(const uint8_t* data, size_t size) {
    const std::string& dir = scratchDirectory();
    static const bool filesWritten = [&] {
        const uint8_t text[] = "saved";
        for (const char* name : {"last_view.cfg", "time.cfg", "Objects/Star.cfg", "Objects/Ship.cfg"})
            putFile(dir + name, text, sizeof text - 1);
        return true;
    }();
    (void)filesWritten;
    putFile(dir + kExactStateRecordName, data, size);
    SimState state;
    state.runMode = 1;
    state.dataDirectory = dir;
    state.configurationName = "Fuzz";
    state.configEntries = {"Star.cfg", "Ship.cfg"};
    state.objects.resize(2);
    for (SimObject& object : state.objects) object.massKg = 1;
    std::string notUsedBecause;
    if (resumeFromExactStateRecord(state, &notUsedBecause)) {
        if (findNonFiniteState(state)) std::abort();
    } else if (notUsedBecause.empty()) {
        std::abort();  // a record that is there and not used says why
    }
}

// The replay side file (.vcx) beside a fixed recording: it is loaded only as a
// whole that fits the recording's frames, or refused with a reason.
void replaySideFile(const uint8_t* data, size_t size) {
    // Six frames in one sequence of eleven objects: the recording that the seed side file belongs to.
    static const char kRecording[] =
        "#\nbegin_sequence\nRecordings/My Recording/Sequence1/\n0.02:0\n0.02:0\n0.02:0\n0.02:0\n0.02:0\n0.02:0\n"
        "end_sequence\n#\n";
    const std::string& dir = scratchDirectory();
    const std::string recordingPath = dir + "Flight.vcr";
    static ReplayTables tables;
    static const bool parsed = [&] {
        putFile(recordingPath, reinterpret_cast<const uint8_t*>(kRecording), sizeof kRecording - 1);
        std::vector<std::string> lines;
        std::string first;
        return readRecordingLines(recordingPath, lines) && parseRecording(lines, dir, tables, first, nullptr);
    }();
    if (!parsed) std::abort();
    const std::string sidePath = exactReplayPath(recordingPath);
    putFile(sidePath, data, size);
    std::vector<ExactSequence> sequences;
    std::string reason;
    if (loadExactReplay(sidePath, recordingPath, tables, 11, sequences, &reason)) {
        if (sequences.size() > tables.sequenceFirstFrame.size()) std::abort();
    } else if (reason.empty()) {
        std::abort();  // every refusal says why
    }
}

}  // namespace

const std::vector<FuzzTarget>& fuzzTargets() {
    static const std::vector<FuzzTarget> targets = {
        {"object_file", objectFile}, {"configuration", configuration}, {"selection", selection},
        {"time_file", timeFile},     {"last_view", lastView},          {"recording", recording},
        {"stars", starCatalogue},    {"image", image},                 {"bmp", bmp},
        {"x_mesh", xMesh},           {"script", script},            {"gui_layout", guiLayout},
        {"exact_state_record", exactStateRecord}, {"replay_side_file", replaySideFile},
    };
    static const std::vector<FuzzTarget> all = [] {
        std::vector<FuzzTarget> list = targets;
        for (const FuzzTarget& t : launcherFuzzTargets()) list.push_back(t);
        return list;
    }();
    return all;
}

const FuzzTarget* findFuzzTarget(const std::string& name) {
    for (const FuzzTarget& t : fuzzTargets())
        if (name == t.name) return &t;
    return nullptr;
}
