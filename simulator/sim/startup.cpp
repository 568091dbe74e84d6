// Loading the start-up state from the data directory in live or replay mode, the device-free part
// of scene creation, and writing the state back when a live run ends.
#include "startup.h"

#include <sys/stat.h>

#include "config_file.h"
#include "float_format.h"
#include "file_error.h"
#include "file_set_commit.h"
#include "object_file.h"
#include "orbit_init.h"
#include "recording_file.h"
#include "selection_file.h"
#include "ship_controls.h"
#include "state_check.h"
#include "text_file.h"
#include "view_files.h"

namespace {

StartupError fileError(std::string path, std::string message) {
    return {StartupError::Kind::File, std::move(path), std::move(message)};
}

// Why path (links followed) is no regular file, or empty when it is one.
std::string notRegularFileReason(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return kMissingFileReason;
    return S_ISREG(st.st_mode) ? std::string() : kNotRegularFileReason;
}

std::optional<StartupError> readSelection(const std::string& path, std::string& name) {
    std::string reason = kUnreadableFileReason;
    if (!readSelectionFile(path, name, &reason)) return fileError(path, reason);
    return std::nullopt;
}

// Reads every object of the configuration from directory + entry.
std::optional<StartupError> readObjects(SimState& state, const std::string& directory) {
    const std::string& dataDir = state.dataDirectory;
    std::vector<SimObject> objects(state.configEntries.size());
    for (size_t i = 0; i < objects.size(); ++i) {
        const std::string& entry = state.configEntries[i];
        std::string path = directory + entry;
        if (!isSafePathName(entry))
            return fileError(path, "the configuration entry is not a plain file name");
        SimObject& obj = objects[i];
        obj.dataDirectory = dataDir;
        obj.ownPath = path;
        std::string reason;
        if (!readObjectFile(obj, path, dataDir, &reason)) return fileError(path, reason);
    }
    state.objects = std::move(objects);
    return std::nullopt;
}

}  // namespace

std::optional<StartupError> loadStartupState(SimState& state) {
    const std::string& dataDir = state.dataDirectory;

    struct stat dirStat {};
    if (::stat(dataDir.c_str(), &dirStat) != 0 || !S_ISDIR(dirStat.st_mode))
        return fileError(dataDir, "the data directory does not exist or is not a directory");
    for (const char* icon : {"Media/Icons/yes64.bmp", "Media/Icons/no64.bmp"}) {
        std::string path = dataDir + icon;
        std::string reason = notRegularFileReason(path);
        if (!reason.empty()) return fileError(path, reason);
    }

    if (auto e = readSelection(dataDir + "moviefile.cfg", state.recordingTitle)) return e;
    if (auto e = readSelection(dataDir + "screenshotfile.cfg", state.screenshotTitle)) return e;
    // Recordings and snapshots write and delete under these titles later in the run: a title
    // that would reach outside its folder is refused now, before anything is touched (replay mode
    // checks the recording title below, on the path it builds). An empty title is left to the
    // recorder and the snapshot code, which need a name only when they are used.
    if (state.isLive() && !state.recordingTitle.empty() && !isSafePathName(state.recordingTitle))
        return fileError(dataDir + "Recordings/" + state.recordingTitle + "/",
                         "the recording title is not a plain file name");
    if (!state.screenshotTitle.empty() && !isSafePathName(state.screenshotTitle))
        return fileError(dataDir + "Screenshots/" + state.screenshotTitle + "/",
                         "the screenshot title is not a plain file name");

    // The configuration: the selected one in live mode, the recording's copy in replay mode.
    if (state.isLive()) {
        if (auto e = readSelection(dataDir + "configfile.cfg", state.configurationName)) return e;
        state.configurationPath = dataDir + "Configurations/" + state.configurationName + ".cfg";
        if (!isSafePathName(state.configurationName))
            return fileError(state.configurationPath, "the configuration name is not a plain file name");
    } else {
        state.configurationPath =
            dataDir + "Recordings/" + state.recordingTitle + "/configuration.cfg";
        if (!isSafePathName(state.recordingTitle))
            return fileError(state.configurationPath, "the recording title is not a plain file name");
    }
    std::string reason;
    if (!readConfigurationFile(state.configurationPath, state.configEntries, &reason))
        return fileError(state.configurationPath, reason);
    if (state.configEntries.empty())
        return fileError(state.configurationPath, "the configuration lists no object");

    std::string snapshotDir;  // replay: the first snapshot directory, full path
    if (state.isLive()) {
        if (auto e = readObjects(state, dataDir + "Objects/")) return e;
    } else {
        std::string recordingPath =
            dataDir + "Recordings/" + state.recordingTitle + "/" + state.recordingTitle + ".vcr";
        std::vector<std::string> lines;
        std::string readReason = kUnreadableFileReason;
        if (!readRecordingLines(recordingPath, lines, &readReason)) return fileError(recordingPath, readReason);
        std::string firstDirRelative;
        if (!parseRecording(lines, dataDir, state.replay, firstDirRelative, &reason))
            return fileError(recordingPath, reason);
        snapshotDir = dataDir + firstDirRelative;
        if (auto e = readObjects(state, snapshotDir)) return e;
    }
    if (state.observer().isObserver == 0)
        return fileError(state.configurationPath,
                         "the last object of the configuration is not an observer");

    const SimObject& observer = state.observer();
    state.rotationRates = observer.ratesRadPerFrame;
    state.accumulatedAngles = observer.anglesRad;

    if (state.isLive()) {
        std::string viewReason;
        if (!readLastView(dataDir + "last_view.cfg", state.orientation, &viewReason)) {
            if (!viewReason.empty()) return fileError(dataDir + "last_view.cfg", viewReason);
            state.orientation = Mat4f::identity();
        }
        std::string timePath = dataDir + "time.cfg";
        std::string timeReason = kUnreadableFileReason;
        if (!readTimeFile(timePath, state.missionTimeS, &timeReason)) return fileError(timePath, timeReason);
    } else {
        std::string viewReason;
        if (!readLastView(snapshotDir + "last_view.cfg", state.orientation, &viewReason)) {
            if (!viewReason.empty()) return fileError(snapshotDir + "last_view.cfg", viewReason);
            state.orientation = Mat4f::identity();
        }
        state.missionTimeS = 0;
        state.replay.cursor = 0;
        state.replay.currentSequence = 1;
        state.replay.finished = 0;
    }

    if (auto failure = initialiseOrbits(state.objects))
        return StartupError{StartupError::Kind::Orbit, state.objects[failure->objectIndex].ownPath,
                            failure->message};
    if (std::optional<UnusableItem> na = findDivergingNaItem(state.objects))
        return fileError(state.objects[na->objectIndex].ownPath, na->reason);
    return std::nullopt;
}

void fillSceneState(SimState& state) {
    if (state.objects.empty()) return;
    state.starCount = 0;
    for (size_t i = 0; i + 1 < state.objects.size(); ++i)
        if (state.objects[i].isStar != 0) ++state.starCount;

    SimObject& observer = state.observer();
    if (!(observer.energyKJ < kMaxEnergyKJ)) observer.energyKJ = kMaxEnergyKJ;
    state.energyKJ = observer.energyKJ;
    for (float* force : {&observer.nominalForceKN.x, &observer.nominalForceKN.y,
                         &observer.nominalForceKN.z})
        if (*force > kMaxNominalForceKN) *force = kMaxNominalForceKN;
    if (observer.jumpDistanceKm > kMaxJumpDistanceKm) observer.jumpDistanceKm = kMaxJumpDistanceKm;

    // A thruster that was firing when the state was stored keeps firing.
    const Vec3f& acting = observer.actingForceKN;  // forward, up, right
    auto latchFromSign = [&](float force, Control positive, Control negative) {
        if (force > 0) state.latches[positive] = 1;
        if (force < 0) state.latches[negative] = 1;
    };
    latchFromSign(acting.x, kForwardThrusterForward, kForwardThrusterBackward);
    latchFromSign(acting.y, kUpThrusterUp, kUpThrusterDown);
    latchFromSign(acting.z, kRightThrusterRight, kRightThrusterLeft);

    state.integrator.setUp(state.objects);
    // The camera follows the loaded orientation from the start, so that a jump in the very first
    // frame goes along the view the run starts with.
    updateCamera(state);
}

// The condition of the save below.
bool stateIsSavedOnExit(const SimState& state) {
    return state.isLive() && state.surfaceProximity == 0 && state.flags.restorePromptShown == 0;
}

std::optional<FileSetFailure> saveStateOnExit(SimState& state, std::vector<FileToWrite>* saved) {
    if (!state.objects.empty()) state.observer().actingForceKN = Vec3f{};
    if (!state.isLive() || state.surfaceProximity != 0 || state.flags.restorePromptShown != 0)
        return std::nullopt;
    // A diverged state is never written over the previous files (the run has said so already).
    if (findNonFiniteState(state)) return std::nullopt;

    // In the order of the rules (view, objects, time), committed as one set: the next start sees
    // all of these files from this save or all of them from the previous one, never a mix, even
    // when the process is killed half way; a thousand objects still wait for the disk about once.
    const std::string& dataDir = state.dataDirectory;
    std::vector<FileToWrite> batch;
    batch.push_back({dataDir + "last_view.cfg", formatLastView(state.orientation)});
    for (size_t i = 0; i < state.objects.size() && i < state.configEntries.size(); ++i) {
        SimObject& obj = state.objects[i];
        obj.ownPath = dataDir + "Objects/" + state.configEntries[i];
        std::optional<std::string> text = objectFileText(obj, dataDir);
        if (!text) return FileSetFailure{obj.ownPath, "the object's values cannot be written as an object file"};
        batch.push_back({obj.ownPath, std::move(*text)});
    }
    batch.push_back({dataDir + "time.cfg", formatFloat(state.missionTimeS)});
    if (std::optional<FileSetFailure> failed = commitFileSet(dataDir, batch)) return failed;
    if (saved) *saved = std::move(batch);
    return std::nullopt;
}
