// Start-up state loading (selection files, configuration, object files or the recording, view and
// time files, orbit initialisation), the scene fill that needs no device, and the save on exit.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "file_set_commit.h"
#include "sim_state.h"
#include "text_file.h"

struct StartupError {
    enum class Kind { File, Orbit } kind;
    std::string path;     // File: the full path as built; Orbit: the object's own path
    std::string message;  // File: the reason (for standard error); Orbit: the message box text
};

// Everything between the single-instance lock and the window: icons check, selection files,
// configuration, objects (live) or recording + first snapshot (replay), rates and angles from the
// observer, last_view.cfg, time.cfg, replay tables, orbit initialisation. state.runMode and
// state.dataDirectory must be set first. Stops at the first failure; nothing is written.
std::optional<StartupError> loadStartupState(SimState& state);

// The scene fill that needs no device: star count, energy/force/jump-distance clamps, running
// energy, thruster latches from the stored acting forces, integrator set-up, and the camera built
// from the loaded orientation and the observer's position.
void fillSceneState(SimState& state);

// Whether the end of the run writes the state: live mode, no surface approach, no restore prompt.
bool stateIsSavedOnExit(const SimState& state);

// Acting forces := 0 always; then, only in live mode without the surface-proximity flag and
// without the restore prompt: last_view.cfg, every object file (own path := data directory +
// "Objects/" + entry) in configuration order, time.cfg, committed as one set. On failure the
// first file that could not be written is returned with the reason, and none of the files has
// been replaced. When every file was written and saved is given, it receives them (paths and
// texts, in that order), so that their digests need no re-read.
std::optional<FileSetFailure> saveStateOnExit(SimState& state, std::vector<FileToWrite>* saved = nullptr);
