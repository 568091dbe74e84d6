// The autopilot flies the plan's nodes one after another with the pilot's own keys: it lowers the
// warp with the comma key before a burn (and raises it back with the period key after it), turns the ship with the attitude keys until the forward axis lies on the burn's
// direction, aligns the thrusters (Space) and fires the forward thruster (R) until the change of
// velocity is delivered, lowering the thrust level (I) over the last frames so that the last one
// ends within a small part of a frame's push, then raises the level (U) back. Its keys go into
// the key state before the control step, so recordings and exact replays see a pilot's keys.
// Live mode only; any flying key of the pilot ends it at once.
#pragma once

#include <string>

#include "flight_plan.h"
#include "sim_state.h"

enum class AutopilotPhase { Off, Waiting, Turning, Burning, Restoring };

struct Autopilot {
    AutopilotPhase phase = AutopilotPhase::Off;
    BurnNode node;                  // the node being flown
    BurnNode planNode;              // the same as the plan holds it (a circularising node's time moves)
    Vec3d directionWorld;           // the burn's direction, fixed when the turn begins
    double targetDeltaVKmPerS = 0;
    double deliveredKmPerS = 0;     // forward thrust times frame time over mass, summed
    float levelBeforeKN = 0;        // the forward thrust level to raise back after the burn
    float torqueBefore = 0;         // the torque level likewise (lowered for the fine turn)
    bool fine = false;              // the last part of the turn, at a low torque level
    bool warpKeyDownLastFrame = false;  // comma or period: pressed on every other frame
    int32_t warpLevelWanted = 0;    // the pilot's warp, taken back up between burns
    std::string status;             // the line the node panel shows (why it stopped, what it did)

    bool active() const { return phase != AutopilotPhase::Off; }
};

// Starts flying the plan's next node; refuses (status says why) without a node, without forward
// thrust, or when the energy store cannot deliver the burn.
void engageAutopilot(Autopilot& pilot, const FlightPlan& plan, const SimState& state, double nowS);

// Ends it with the reason on the panel; a burn it leaves half done is also named at the top of
// the screen with what it delivered.
void stopAutopilot(Autopilot& pilot, SimState& state, const std::string& why);

// Live mode, after the keyboard read and before the frame step: the pilot's keys end it; otherwise
// its keys are added to state.keyState for this frame. elapsedS is the frame time at warp 1, nowS
// the planner's clock (the mission time in double precision: a float mission time stops
// advancing under short frames after a few days).
void autopilotBeforeFrame(Autopilot& pilot, FlightPlan& plan, SimState& state, float elapsedS, double nowS);
// After the frame step: the change of velocity the frame's forward thrust delivered.
void autopilotAfterFrame(Autopilot& pilot, const SimState& state, float frameS);

// Seconds the turn to any direction takes at the torque level and frame time, with settling.
double turnLeadS(const SimObject& ship, double frameS);

// The burn's change of velocity in world axes when it begins: a fixed node's vector in the
// orbital frame at the node's time (the present orbit carried there on its conic), or for a
// circularising node the step from the present orbit to a circular one at that point.
Vec3d nodeWorldDeltaV(const BurnNode& node, const std::vector<SimObject>& objects, double missionTimeS);
