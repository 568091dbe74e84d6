// Substepped gravity of a warped frame.
#include "warped_substeps.h"

#include "frame_step.h"
#include "ship_controls.h"

namespace {

float thrusterForce(const SimState& state, Control first, int firstKey, Control second,
                    int secondKey, float nominal) {
    const bool keys = state.isLive() || state.replay.exactInput;
    const bool energyLeft = state.energyKJ > 0;
    auto fires = [&](Control c, int key) {
        return (keys && state.keyState.isDown(key)) || (state.latches[c] != 0 && energyLeft);
    };
    if (fires(first, firstKey)) return nominal;
    if (fires(second, secondKey)) return -nominal;
    return 0.0f;
}

}  // namespace

void refreshThrusterForces(SimState& state) {
    SimObject& ship = state.observer();
    ship.actingForceKN.x = thrusterForce(state, kForwardThrusterForward, KeyCode::R,
                                         kForwardThrusterBackward, KeyCode::T, ship.nominalForceKN.x);
    ship.actingForceKN.y = thrusterForce(state, kUpThrusterUp, KeyCode::F, kUpThrusterDown,
                                         KeyCode::G, ship.nominalForceKN.y);
    ship.actingForceKN.z = thrusterForce(state, kRightThrusterRight, KeyCode::V,
                                         kRightThrusterLeft, KeyCode::B, ship.nominalForceKN.z);
}

void advanceGravityBy(SimState& state, double h) {
    IntegratorState& integrator = state.integrator;
    if (integrator.count() != state.objects.size()) integrator.setUp(state.objects);
    integrator.step(h, state.objects);
    for (size_t i = 0; i < state.objects.size(); ++i) {
        SimObject& o = state.objects[i];
        auto item = [&](int j) { return static_cast<float>(integrator.readBack(i, j)); };
        o.positionKm = {item(0), item(2), item(4)};
        o.velocityKmPerS = {item(1), item(3), item(5)};
    }
}

void advanceSubsteps(SimState& state, double frameS, int substeps) {
    const double h = frameS / substeps;
    for (int k = 0; k < substeps; ++k) {
        if (k > 0) {
            refreshThrusterForces(state);
            drainEnergy(state, static_cast<float>(h));
        }
        advanceGravityBy(state, h);
    }
}
