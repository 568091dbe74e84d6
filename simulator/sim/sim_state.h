// Everything the simulation holds between frames: the objects, the observer's attitude and
// energy, mission time, the control latches and display flags, the integrator and the replay
// tables. SimulatorApp owns one; nothing here knows about windows or drawing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "controls.h"
#include "integrator.h"
#include "math3d.h"
#include "navigation_state.h"
#include "replay_tables.h"
#include "sim_object.h"
#include "status_notice.h"
#include "time_warp.h"

constexpr float kMaxEnergyKJ = 1e11f;
constexpr float kMaxNominalForceKN = 10000.0f;
constexpr float kMaxTorqueLevel = 0.009f;
constexpr float kMaxJumpDistanceKm = 1e9f;
constexpr float kDefaultFieldOfViewRad = 0.7853982f;  // pi/4, vertical

struct SimState {
    // Run set-up, fixed for the life of the process.
    int32_t runMode = 1;            // non-zero = live mode
    std::string dataDirectory;      // absolute, "/" separators, ends in "/"
    std::string recordingTitle;     // first line of moviefile.cfg
    std::string screenshotTitle;    // first line of screenshotfile.cfg
    std::string configurationName;  // first line of configfile.cfg (live mode)
    std::string configurationPath;  // full path of the configuration read

    // The star system: one object per configuration entry, in order; the observer is last.
    std::vector<std::string> configEntries;  // object file names inside Objects/
    std::vector<SimObject> objects;

    // Observer attitude. Rates are angles per frame; angles are pitch, yaw, roll.
    Vec3f rotationRates;
    Vec3f accumulatedAngles;
    Vec3f wrappedAngles;          // accumulated angles reduced to [0, 2 pi)
    Mat4f orientation;            // product of all per-frame rotations; saved in last_view.cfg
    Mat4f camera;                 // view transform: translation by -position, then inverse(orientation)
    Mat4f cameraCopy;

    float energyKJ = 0;           // running energy, copied into the observer's Item 57 each frame
    float missionTimeS = 0;
    int32_t alignRequest = 0;
    int32_t surfaceProximity = 0; // the observer came within 1500 km of a body's surface
    int32_t starCount = 0;        // bodies with the star flag
    float fieldOfViewRad = kDefaultFieldOfViewRad;

    ControlLatches latches{};     // on-screen controls and replay; bits of the control word
    DisplayFlags flags;
    KeyState keyState;
    bool keyboardAvailable = false;  // a keyboard device exists (live mode)

    NavigationState nav;          // target, markers, turn and jump-distance requests
    IntegratorState integrator;
    ReplayTables replay;
    TimeWarp warp;                // live: factor and drops; every mode: how this frame is split
    StatusNotice notice;          // the last refusal's reason, shown for a few seconds

    bool isLive() const { return runMode != 0; }
    bool isReplay() const { return runMode == 0; }
    SimObject& observer() { return objects.back(); }
    const SimObject& observer() const { return objects.back(); }
    size_t objectCount() const { return objects.size(); }
};
