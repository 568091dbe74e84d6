// The autopilot's phases: waiting (warp lowered in time), turning, burning, raising the level back.
#include "autopilot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "integrator.h"
#include "planned_path.h"
#include "ship_controls.h"
#include "time_warp.h"

namespace {

constexpr int kCommaKey = 0x33;
constexpr int kPeriodKey = 0x34;
// Pointing within this angle (rad) and turning slower than two frames' torque: ready to fire.
// A burn of 3 km/s pointed 1e-5 rad off pushes 3 cm/s sideways.
constexpr double kPointedRad = 1e-5;
// Within this angle the torque level comes down (Down arrow) to this fine level for the last part
// of the turn: the rate steps of one frame shrink with it.
constexpr double kFineTurnRad = 0.02;

// Fine turns want a low torque level, but not below one that changes the rate by this much a
// frame: the attitude's single-precision rotation loses smaller rates.
constexpr double kSmallestRateStepRad = 2e-6;

// Whether one more Down press (levels move by the angular acceleration factor times the frame
// time) keeps the torque level above zero and above the smallest useful rate step.
bool torqueCanComeDown(const SimObject& ship, float frameS) {
    const double lowered = static_cast<double>(ship.torqueLevel) - ship.angularAccelFactor * frameS;
    return lowered > 0.25 * ship.angularAccelFactor * frameS && lowered * frameS >= kSmallestRateStepRad;
}
// Below this torque level the autopilot raises it (Up arrow) before it turns.
constexpr float kTurnTorqueLevel = 0.002f;

void press(KeyState& keys, int code) { keys.keys[static_cast<size_t>(code)] = 0x80; }

Vec3d orientationRow(const Mat4f& m, int r) { return {m.m[r][0], m.m[r][1], m.m[r][2]}; }

// Keys for one axis: err is the angle still to turn in the axis's positive sense, rate the rate
// (angle per frame), accel the change of rate one frame of the key gives. Aims at the rate that
// stops on the direction with the torque available, braking early by a margin.
int axisKey(double err, double rate, double accel, int plusKey, int minusKey) {
    const double wanted = std::copysign(std::min(std::sqrt(2 * accel * std::abs(err)) * 0.7, std::abs(err) * 0.5), err);
    if (rate < wanted - accel * 0.5) return plusKey;
    if (rate > wanted + accel * 0.5) return minusKey;
    return 0;
}

// The angle between the forward axis and direction.
double pointingErrorRad(const SimState& state, Vec3d direction) {
    const Vec3d forward = normalized(orientationRow(state.orientation, 2));
    return std::atan2(length(cross(forward, direction)), dot(forward, direction));
}

// Presses the attitude keys that bring the forward axis onto direction and stop the roll.
void steerKeys(SimState& state, Vec3d direction, float frameS, bool fine) {
    // The single-precision orientation drifts from square over many frames: the axes are made
    // square to the forward axis again, so that no error hides in the skew.
    const Vec3d forward = normalized(orientationRow(state.orientation, 2));
    Vec3d right = orientationRow(state.orientation, 0);
    right = normalized(right - forward * dot(right, forward));
    Vec3d up = orientationRow(state.orientation, 1);
    up = normalized(up - forward * dot(up, forward) - right * dot(up, right));
    const double dr = dot(direction, right), du = dot(direction, up), df = dot(direction, forward);
    const double accel = static_cast<double>(state.observer().torqueLevel) * frameS;
    KeyState& keys = state.keyState;
    if (!(accel > 0)) {
        press(keys, KeyCode::Up);
        return;
    }
    // A positive pitch (W) turns the forward axis down, a positive yaw (S) to the right.
    const Vec3f rates = state.rotationRates;
    if (int k = axisKey(-std::atan2(du, df), rates.x, accel, KeyCode::W, KeyCode::E)) press(keys, k);
    if (int k = axisKey(std::atan2(dr, df), rates.y, accel, KeyCode::S, KeyCode::D)) press(keys, k);
    if (int k = axisKey(0, rates.z, accel, KeyCode::X, KeyCode::C)) press(keys, k);
    if (!fine && state.observer().torqueLevel < kTurnTorqueLevel) press(keys, KeyCode::Up);
}

bool turningSlowly(const SimState& state, float frameS) {
    const double accel = static_cast<double>(state.observer().torqueLevel) * frameS;
    const Vec3f r = state.rotationRates;
    return std::abs(r.x) <= 2 * accel && std::abs(r.y) <= 2 * accel && std::abs(r.z) <= 2 * accel;
}

std::string deliveredText(const Autopilot& p) {
    char text[96];
    std::snprintf(text, sizeof text, "%.4f of %.4f km/s", p.deliveredKmPerS, p.targetDeltaVKmPerS);
    return text;
}

// Ends the autopilot; a burn it leaves half done is also named at the top of the screen, which
// the heads-up display's key does not hide.
void stop(Autopilot& p, SimState& state, const std::string& why) {
    p.status = why;
    if (p.phase == AutopilotPhase::Burning) {
        p.status += ": burn stopped at " + deliveredText(p);
        showNotice(state.notice, p.status);
    }
    p.phase = AutopilotPhase::Off;
}

double burnStartS(const Autopilot& p, const SimObject& ship) {
    const double force = ship.nominalForceKN.x > 0 ? ship.nominalForceKN.x : p.levelBeforeKN;
    double duration = force > 0 ? p.targetDeltaVKmPerS * ship.massKg / force : 0;
    if (!std::isfinite(duration)) duration = 0;
    return p.node.timeS - duration / 2;
}

// What ramping the forward thrust down from a level delivers: the frames at level - step,
// level - 2 step, ... (one I press a frame).
double rampDeltaV(const SimObject& ship, double level, float frameS) {
    const double step = ship.forceFactorKNPerS * frameS;
    if (!(step > 0) || level <= 0 || !(ship.massKg > 0)) return 0.0;
    const double n = std::floor(level / step);
    return (n * level - step * n * (n + 1) / 2) * frameS / ship.massKg;
}

// A burn smaller than the ramp down from the present level: the level comes down first (I without
// R), else the burn could not end on its change of velocity.
bool levelTooHigh(const Autopilot& p, const SimObject& ship, float frameS) {
    const double level = ship.nominalForceKN.x, step = ship.forceFactorKNPerS * frameS;
    return level - step > 0 && rampDeltaV(ship, level, frameS) > p.targetDeltaVKmPerS;
}

// The forward thrust for this frame: the full level while the rest of the burn holds more than
// a ramp down to zero would deliver; then one step lower per frame (I), and nothing once the rest
// is below half of what this frame would push.
void burnKeys(Autopilot& p, SimState& state, float frameS) {
    const SimObject& ship = state.observer();
    const double mass = ship.massKg, level = ship.nominalForceKN.x, step = ship.forceFactorKNPerS * frameS;
    const double rest = p.targetDeltaVKmPerS - p.deliveredKmPerS;
    auto ramp = [&](double from) { return rampDeltaV(ship, from, frameS); };
    const double full = level * frameS / mass;
    const double lower = std::max(0.0, level - step) * frameS / mass;
    KeyState& keys = state.keyState;
    if (rest - full >= ramp(level) && rest >= 0.5 * full) {
        press(keys, KeyCode::R);
    } else if (lower > 0 && rest >= 0.5 * lower) {
        press(keys, KeyCode::R);
        press(keys, KeyCode::I);
    } else if (rest >= 0.5 * full) {
        press(keys, KeyCode::R);  // the lowest level (or no level steps): within half a frame's push
    } else {
        p.phase = AutopilotPhase::Restoring;
        p.status = "Burn done: " + deliveredText(p);
    }
}

// Seconds from now to the apsis of a bound orbit that lies nearest to aroundS from now (a
// circularising burn belongs at an apsis, wherever the burn before it really left the ship).
double nearestApsisS(const RelativeState& rel, double gm, double aroundS) {
    const OrbitElements e = elementsFromState(rel, gm);
    if (!e.bound()) return aroundS;
    const double period = e.periodS(gm);
    const double ecc = e.eccentricity;
    const double eccentricAnomaly =
        2 * std::atan(std::sqrt((1 - ecc) / (1 + ecc)) * std::tan(e.trueAnomalyRad / 2));
    const double sincePeriapsis = (eccentricAnomaly - ecc * std::sin(eccentricAnomaly)) / (2 * std::numbers::pi) * period;
    double best = aroundS;
    double bestGap = 1e300;
    for (double apsis : {0.0, period / 2}) {
        // Occurrences of this apsis around aroundS.
        const double first = std::fmod(apsis - sincePeriapsis + 2 * period, period);
        const double k = std::round((aroundS - first) / period);
        for (double n : {k - 1, k, k + 1}) {
            const double t = first + n * period;
            if (t >= 0 && std::abs(t - aroundS) < bestGap) best = t, bestGap = std::abs(t - aroundS);
        }
    }
    return best;
}

bool sameNode(const BurnNode& a, const BurnNode& b) {
    return a.timeS == b.timeS && a.kind == b.kind && a.primary == b.primary && a.deltaVKmPerS.x == b.deltaVKmPerS.x &&
           a.deltaVKmPerS.y == b.deltaVKmPerS.y && a.deltaVKmPerS.z == b.deltaVKmPerS.z;
}

}  // namespace

void stopAutopilot(Autopilot& p, SimState& state, const std::string& why) {
    if (p.active()) stop(p, state, why);
}

double turnLeadS(const SimObject& ship, double frameS) {
    // Half a turn with the attitude keys: a rate that grows by torque * h per frame, so an angular
    // acceleration of torque / h; twice for braking margins, and time to settle.
    const double torque = std::max<double>(ship.torqueLevel, kTurnTorqueLevel);
    const double h = std::max(frameS, 1e-3);
    return 2 * 2 * std::sqrt(std::numbers::pi / (torque / h)) + 20;
}

Vec3d nodeWorldDeltaV(const BurnNode& node, const std::vector<SimObject>& objects, double missionTimeS) {
    const size_t ship = objects.size() - 1;
    if (node.primary < 0 || static_cast<size_t>(node.primary) >= ship) return {};
    const size_t body = static_cast<size_t>(node.primary);
    const double gm = pairGm(objects, body, ship);
    const RelativeState at = propagateKepler(relativeState(objects, ship, body), gm, node.timeS - missionTimeS);
    return nodeDeltaV(node, at, gm);
}

void engageAutopilot(Autopilot& p, const FlightPlan& plan, const SimState& state, double nowS) {
    // A refusal leaves the autopilot off with the reason (also when it was waiting for a node).
    const BurnNode* node = plan.next();
    if (!node) {
        p.status = "Autopilot: no node to fly";
        p.phase = AutopilotPhase::Off;
        return;
    }
    const SimObject& ship = state.observer();
    const Vec3d dv = nodeWorldDeltaV(*node, state.objects, nowS);
    const BurnCost cost = burnCost(ship, length(dv), state.energyKJ);
    if (cost.noThrust) {
        p.status = "Autopilot: no forward thrust (raise it with U)";
        p.phase = AutopilotPhase::Off;
        return;
    }
    if (cost.energyShort) {
        p.status = "Autopilot: the energy store cannot deliver this burn";
        p.phase = AutopilotPhase::Off;
        return;
    }
    p = Autopilot{};
    p.node = *node;
    p.planNode = *node;
    if (node->kind == NodeKind::Circularise && node->primary >= 0 &&
        static_cast<size_t>(node->primary) + 1 < state.objects.size()) {
        const size_t body = static_cast<size_t>(node->primary), shipIndex = state.objects.size() - 1;
        const double now = nowS;
        p.node.timeS = now + nearestApsisS(relativeState(state.objects, shipIndex, body),
                                           pairGm(state.objects, body, shipIndex), node->timeS - now);
    }
    p.phase = AutopilotPhase::Waiting;
    p.targetDeltaVKmPerS = length(dv);
    p.levelBeforeKN = ship.nominalForceKN.x;
    p.torqueBefore = ship.torqueLevel;
    p.warpLevelWanted = state.warp.level;
    p.status = "Autopilot: waiting for the burn";
}

void autopilotBeforeFrame(Autopilot& p, FlightPlan& plan, SimState& state, float elapsedS, double nowS) {
    if (!p.active() || !state.isLive()) return;
    if (flyingControlActive(state)) {
        stop(p, state, "Autopilot off: the pilot took control");
        return;
    }
    const double now = nowS;
    const SimObject& ship = state.observer();
    KeyState& keys = state.keyState;
    if (p.phase == AutopilotPhase::Waiting) {
        const double turnAt = burnStartS(p, ship) - turnLeadS(ship, elapsedS);
        // The warp comes down one step every other frame, early enough that no warped frame
        // passes the start of the turn; far from it, it goes back up to the pilot's.
        const int32_t level = state.warp.level;
        // The pilot's own period press asks for one step more, even where the warp drops again.
        const int32_t top = static_cast<int32_t>(kWarpFactors.size()) - 1;
        if (keys.isDown(kPeriodKey) && !state.warp.periodWasDown) p.warpLevelWanted = std::min(level + 1, top);
        if (level > p.warpLevelWanted) p.warpLevelWanted = level;
        const double untilTurn = turnAt - now;
        const bool lower = level > 0 && untilTurn < 4.0 * elapsedS * state.warp.factor();
        const bool raise = !lower && level < p.warpLevelWanted &&
                           untilTurn > 8.0 * elapsedS * kWarpFactors[static_cast<size_t>(level + 1)];
        const bool pressNow = (lower || raise) && !p.warpKeyDownLastFrame;
        p.warpKeyDownLastFrame = pressNow;
        if (pressNow) press(keys, lower ? kCommaKey : kPeriodKey);
        // The plan's next node changed while waiting (a correction worked out, a node edited, a
        // new plan): that one is flown.
        if (!plan.next()) {
            stop(p, state, "Autopilot off: no node left to fly");
            return;
        }
        if (!sameNode(*plan.next(), p.planNode)) {
            const int32_t warp = p.warpLevelWanted;
            const bool warpKeyDown = p.warpKeyDownLastFrame;
            engageAutopilot(p, plan, state, now);
            p.warpLevelWanted = warp;
            p.warpKeyDownLastFrame = warpKeyDown;
            if (!p.active()) return;
        }
        if (now < turnAt) return;
        if (p.node.kind == NodeKind::Correction) {
            p.status = "Autopilot: waiting for the correction to be worked out";
            return;
        }
        const Vec3d dv = nodeWorldDeltaV(p.node, state.objects, now);
        p.targetDeltaVKmPerS = length(dv);
        p.directionWorld = normalized(dv);
        p.phase = AutopilotPhase::Turning;
        p.status = "Autopilot: turning to the burn";
    }
    if (p.phase == AutopilotPhase::Turning) {
        const double left = pointingErrorRad(state, p.directionWorld);
        // Near the direction and still: the torque comes down before the last fine turn.
        if (left < kFineTurnRad && turningSlowly(state, elapsedS)) p.fine = true;
        if (p.fine && torqueCanComeDown(ship, elapsedS)) {
            press(keys, KeyCode::Down);
        } else {
            steerKeys(state, p.directionWorld, elapsedS, p.fine);
        }
        if (left < 0.05) press(keys, KeyCode::Space);
        const bool lowerThrust = levelTooHigh(p, ship, elapsedS);
        if (lowerThrust) press(keys, KeyCode::I);
        if (now >= burnStartS(p, ship) && left < kPointedRad && turningSlowly(state, elapsedS) && p.fine &&
            !torqueCanComeDown(ship, elapsedS) && !lowerThrust) {
            p.phase = AutopilotPhase::Burning;
            p.status = "Autopilot: burning";
        } else {
            return;
        }
    }
    if (p.phase == AutopilotPhase::Burning) {
        if (state.energyKJ <= 0) {
            stop(p, state, "Autopilot: the energy store is empty");
            return;
        }
        steerKeys(state, p.directionWorld, elapsedS, true);
        press(keys, KeyCode::Space);
        burnKeys(p, state, elapsedS);
        if (p.phase == AutopilotPhase::Burning) return;
    }
    if (p.phase == AutopilotPhase::Restoring) {
        const bool thrustBack = !(ship.nominalForceKN.x < p.levelBeforeKN && ship.nominalForceKN.x < kMaxNominalForceKN);
        const bool torqueBack = !(ship.torqueLevel < p.torqueBefore && ship.torqueLevel < kMaxTorqueLevel);
        if (!thrustBack) press(keys, KeyCode::U);
        if (!torqueBack) press(keys, KeyCode::Up);
        if (!thrustBack || !torqueBack) return;
        // The flown node leaves the plan (unless the pilot changed the plan meanwhile).
        if (plan.next() && sameNode(*plan.next(), p.planNode)) plan.popFront();
        p.phase = AutopilotPhase::Off;
        // On to the next node, at the pilot's warp.
        if (plan.next()) {
            const std::string done = p.status;
            const int32_t warp = p.warpLevelWanted;
            engageAutopilot(p, plan, state, now);
            p.warpLevelWanted = warp;
            if (p.active()) p.status = done + "; next burn waiting";
        }
    }
}

void autopilotAfterFrame(Autopilot& p, const SimState& state, float frameS) {
    if (p.phase != AutopilotPhase::Burning) return;
    const SimObject& ship = state.observer();
    const double force = std::abs(ship.actingForceKN.x);
    if (force > 0 && ship.massKg > 0)
        p.deliveredKmPerS += relativisticFactor(ship.velocityKmPerS) * force * frameS / ship.massKg;
}
