// Time warp: the factor the frame time is multiplied by, stepped with the period and comma keys,
// and the rules that drop it back to 1 (a flying key, a surface ahead, a frame that cannot keep
// up). A warped frame is integrated in substeps no longer than the step bound of step_bound.h.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

struct SimState;

inline constexpr std::array<int32_t, 6> kWarpFactors = {1, 10, 100, 1000, 10000, 100000};
inline constexpr int kWarpPeriodKey = 0x34;  // "." raises the factor
inline constexpr int kWarpCommaKey = 0x33;   // "," lowers it

// Frames of at most this many seconds are never split by a replay without a warp record.
constexpr float kLongestUnsplitFrameS = 1.0f;
// Real time a warped frame may spend on its substeps before it cannot keep up: 30 frames a second.
constexpr double kWarpGravityBudgetS = 1.0 / 30.0;
// Cost of a step per object pair assumed where no cost is measured (runs with a fixed frame time,
// which must decide alike on every run): about what two threads reach at 1000 objects.
constexpr double kNominalStepCostPerPairS = 1.0e-9;
// How long a drop message stays on screen, in seconds of real time.
constexpr float kWarpMessageS = 4.0f;

enum class WarpDrop : int32_t { None, FlyingControl, Surface, CannotKeepUp };

struct TimeWarp {
    int32_t level = 0;             // index into kWarpFactors
    bool frameWarped = false;      // this frame is split into substeps (level > 0 when it began)
    int32_t substeps = 1;          // substeps of the last frame
    WarpDrop lastDrop = WarpDrop::None;
    float messageLeftS = 0;        // drop message time left
    bool periodWasDown = false;    // key states of the previous frame, for the press edges
    bool commaWasDown = false;
    double stepCostS = 0;          // measured real time of one RK4 step; 0: the nominal cost
    int32_t factor() const { return kWarpFactors[static_cast<size_t>(level)]; }
};

// Live mode, before the frame step: applies the period/comma presses (a press that would bring a
// surface within reach of one frame, or exceed the substep budget, leaves the factor as it is),
// drops the warp when a control that flies the ship is active, when a surface could be reached
// within the warped frame, or when its substeps would exceed the budget; returns the frame time
// (elapsed times the factor, exactly elapsed at factor 1) and sets frameWarped. Every refusal and
// drop leaves its reason in the state's notice.
float resolveWarpedFrameTime(SimState& state, float elapsedS);
// The same with the substeps a frame may take given instead of taken from the budget.
float resolveWarpedFrameTime(SimState& state, float elapsedS, double allowedSubsteps);

// Substeps a warped frame of objectCount objects may take: as many steps of the measured (or
// nominal) cost as fit the frame budget, at least 1.
int32_t warpSubstepBudget(const TimeWarp& warp, size_t objectCount);

// A key or latch that steers, changes a level, jumps, aligns, stops or restores is active. The
// thruster latches of the on-screen controls are not counted: they keep firing under warp.
bool flyingControlActive(const SimState& state);

// The ship could come within the surface distance of a body within hS: its altitude above that
// distance is at most |v| h + a h^2 / 2 (relative speed, the body's pull).
bool surfaceWithinReach(const SimState& state, double hS);
// The first body whose surface is within reach in that sense, -1 for none.
int bodyWithinReach(const SimState& state, double hS);

// "1,000x": the factor of a level, its digits grouped.
std::string warpFactorName(int32_t level);

// The drop message, or nullptr when none is due.
const char* warpDropMessage(WarpDrop drop);
