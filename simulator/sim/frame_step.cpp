// The simulation step in its fixed order, and the replay frame advance with snapshot loads at
// sequence boundaries.
#include "frame_step.h"

#include <cmath>

#include "exact_replay_player.h"
#include "object_file.h"
#include "ship_controls.h"
#include "target_navigation.h"
#include "step_bound.h"
#include "view_files.h"
#include "warped_substeps.h"

namespace {

constexpr double kTwoPiD = 6.283185307179586;

// Reads the bodies of a sequence's snapshot into copies first, so a failed read changes nothing.
std::optional<std::string> loadSnapshot(SimState& state, size_t sequence) {
    const std::string& dir = state.replay.sequenceDirs[sequence];
    std::vector<SimObject> bodies(state.objects.begin(), state.objects.end() - 1);
    for (size_t i = 0; i < bodies.size(); ++i) {
        if (i >= state.configEntries.size()) return dir;
        std::string path = dir + state.configEntries[i];
        if (!readObjectFile(bodies[i], path, state.dataDirectory)) return path;
    }
    for (size_t i = 0; i < bodies.size(); ++i) state.objects[i] = std::move(bodies[i]);

    const SimObject& ship = state.observer();
    state.rotationRates = ship.ratesRadPerFrame;
    state.accumulatedAngles = ship.anglesRad;
    if (!readLastView(dir + "last_view.cfg", state.orientation))
        state.orientation = Mat4f::identity();
    state.integrator.setUp(state.objects);
    state.replay.currentSequence = static_cast<int>(sequence) + 1;
    return std::nullopt;
}

}  // namespace

std::optional<std::string> advanceReplayFrame(SimState& state, float& h) {
    ReplayTables& replay = state.replay;
    int f = replay.cursor;
    bool haveLine = replay.lastFrameIndex >= 0 && f >= 0 && f <= replay.lastFrameIndex &&
                    static_cast<size_t>(f) < replay.frameTimesS.size() &&
                    static_cast<size_t>(f) < replay.controlWords.size();
    if (!haveLine) {
        replay.finished = 1;
        h = 0;
        return std::nullopt;
    }
    if (f >= replay.lastFrameIndex) replay.finished = 1;
    h = replay.frameTimesS[static_cast<size_t>(f)];
    setLatchesFromWord(state.latches, replay.controlWords[static_cast<size_t>(f)]);
    replay.cursor = ++f;
    size_t sequences = std::min(replay.sequenceFirstFrame.size(), replay.sequenceDirs.size());
    for (size_t s = 1; s < sequences; ++s)
        if (replay.sequenceFirstFrame[s] == f) return loadSnapshot(state, s);
    return std::nullopt;
}

void spinBodies(SimState& state, float h) {
    for (SimObject& o : state.objects) {
        if (!o.hasMesh()) continue;
        float angle = o.spinAngleRad + o.spinRate * h * kTwoPiF;
        o.spinAngleRad = static_cast<float>(std::fmod(static_cast<double>(angle), kTwoPiD));
    }
}

void drainEnergy(SimState& state, float h) {
    SimObject& ship = state.observer();
    float r = relativisticFactor(ship.velocityKmPerS);
    float energy =
        state.energyKJ - r * length(ship.velocityKmPerS) * length(ship.actingForceKN) * h;
    if (energy < 0) energy = 0;
    state.energyKJ = energy;
    ship.energyKJ = energy;
}

void advanceGravity(SimState& state, float h) {
    IntegratorState& integrator = state.integrator;
    if (integrator.count() != state.objects.size()) integrator.setUp(state.objects);
    integrator.step(static_cast<double>(h), state.objects);
    for (size_t i = 0; i < state.objects.size(); ++i) {
        SimObject& o = state.objects[i];
        auto item = [&](int j) { return static_cast<float>(integrator.readBack(i, j)); };
        o.positionKm = {item(0), item(2), item(4)};
        o.velocityKmPerS = {item(1), item(3), item(5)};
    }
}

void testSurfaceProximity(SimState& state) {
    const SimObject& ship = state.observer();
    for (size_t k = 0; k + 1 < state.objects.size(); ++k) {
        const SimObject& body = state.objects[k];
        float d = length(body.positionKm - ship.positionKm);
        state.surfaceProximity = (d - body.equatorialRadiusKm <= kSurfaceDistanceKm) ? 1 : 0;
        if (state.surfaceProximity) return;
    }
}

std::optional<std::string> stepSimulation(SimState& state, const FrameInput& in,
                                          FrameStepHooks& hooks) {
    if (state.objects.empty()) return std::nullopt;

    // 1. Controls, attitude and camera.
    float h = in.elapsedS;
    ControlStepResult controls;
    bool runControls = true;
    if (state.isReplay()) {
        if (in.exactReplay)
            in.exactReplay->advance(state, h, runControls);
        else if (auto failed = advanceReplayFrame(state, h))
            return failed;
    } else {
        runControls = in.keyboardReadOk;
    }
    applyNavigationRequests(state);
    if (runControls) {
        controls = applyControls(state, h);
        if (controls.snapshotRequested) hooks.takeSnapshot(state);
        if (controls.restoreRequested) restoreEnergy(state);
        // After a jump, Z starts again from the altitude chosen last.
        if (controls.jumped) state.nav.altitudeRepeat = false;
    }
    updateAttitude(state, controls.rotationIncrement);
    // A warped frame is split by the state alone; an ordinary replay knows no warp, so it splits
    // only frames too long to have been real ones.
    if (state.isReplay() && !in.exactReplay) state.warp.frameWarped = h > kLongestUnsplitFrameS;
    state.warp.substeps = state.warp.frameWarped ? substepCount(state.objects, h) : 1;
    const int substeps = state.warp.substeps;

    // 2-4. Time, recording, spin and placement.
    state.missionTimeS += h;
    if (state.isLive()) hooks.recordStep(state, h);
    spinBodies(state, h);
    hooks.placeBodies(state, h);

    // 5-7. Energy, align, one-shot latches.
    drainEnergy(state, substeps == 1 ? h : static_cast<float>(static_cast<double>(h) / substeps));
    if (state.alignRequest) alignThrusters(state);
    state.latches[kAlign] = 0;
    state.latches[kRestoreEnergy] = 0;
    state.latches[kPanic] = 0;

    // 8-12. Display hooks, gravity, draw order, proximity.
    hooks.composeHud(state);
    hooks.setLights(state);
    if (substeps == 1)
        advanceGravity(state, h);
    else
        advanceSubsteps(state, h, substeps);
    hooks.sortDrawOrder(state);
    testSurfaceProximity(state);
    return std::nullopt;
}
