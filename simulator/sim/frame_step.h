// One simulation step (controls, attitude, time, spin, energy, gravity, proximity) with hooks for
// what the recording, drawing and display layers do in between, and the replay frame advance.
#pragma once

#include <optional>
#include <string>

#include "sim_state.h"

constexpr float kSurfaceDistanceKm = 1500.0f;

struct FrameStepHooks {  // the app fills these; each may be empty
    virtual ~FrameStepHooks() = default;
    virtual void recordStep(SimState&, float /*hS*/) {}             // live mode, after the time
    virtual void placeBodies(const SimState&, float /*hS*/) {}      // after the spin, for drawing
    virtual void composeHud(const SimState&) {}                     // heads-up text
    virtual void setLights(const SimState&) {}                      // one light per star
    virtual void sortDrawOrder(const SimState&) {}                  // after the gravity step
    virtual void takeSnapshot(SimState&) {}                         // the control step asked for one
};

class ExactReplayPlayer;

struct FrameInput {
    float elapsedS = 0;          // live mode: the frame timer's elapsed time
    bool keyboardReadOk = true;  // live mode: false skips the control step (no device: pass true
                                 // with all keys up so that the latches still act)
    ExactReplayPlayer* exactReplay = nullptr;  // replay mode: plays the exact side file instead
};

// One frame: controls (live keys and latches, or the replay frame line), attitude and camera,
// mission time, recording hook, spin (meshed bodies, whether or not anything is drawn), energy
// drain, align, one-shot latch clearing (align, restore energy, panic), heads-up and light hooks,
// RK4 step with read-back into the float items, sort hook, surface-proximity test. Returns the path
// of a replay snapshot file that could not be loaded; nothing else fails.
std::optional<std::string> stepSimulation(SimState& state, const FrameInput& in,
                                          FrameStepHooks& hooks);

// Replay: takes the frame line at the cursor (frame time into hS, control word into the latches),
// sets the finished flag on the last line, and at the first frame of a later sequence loads its
// snapshot (bodies, rates and angles from the observer's items, orientation) and restarts the
// integrator. Past the last line (or with none) hS is 0 and the latches stay. Returns the path of
// a snapshot file that could not be read; the objects are then unchanged.
std::optional<std::string> advanceReplayFrame(SimState& state, float& hS);

// Spin angle of every meshed object += rate * h * 2 pi, reduced to (-2 pi, 2 pi).
void spinBodies(SimState& state, float hS);

// Running energy -= r * |v| * |F| * h, not below 0; Item 57 := running energy.
void drainEnergy(SimState& state, float hS);

// RK4 step of h, then Items 2-7 of every object := the integrator's values rounded to floats.
void advanceGravity(SimState& state, float hS);

// Surface-proximity flag := the first body whose surface is within 1500 km of the observer sets
// it; with no such body it is 0, with no body at all it is untouched.
void testSurfaceProximity(SimState& state);
