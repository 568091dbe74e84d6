// The exact state of a run: every value that the next frame step reads and that the object files,
// last_view.cfg and time.cfg hold only to six digits, kept bit for bit. It is captured from a
// SimState, applied to one, and written as text lines of hexadecimal bit patterns.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "sim_state.h"

// The 52 float items of an object (Items 1-7, 9-14, 17-21, 24-25, 29-60), in a fixed order.
constexpr size_t kObjectFloatFieldCount = 52;
std::array<float*, kObjectFloatFieldCount> objectFloatFields(SimObject& o);
std::array<const float*, kObjectFloatFieldCount> objectFloatFields(const SimObject& o);

struct ExactState {
    std::vector<std::array<float, kObjectFloatFieldCount>> objects;
    Vec3f integratorOrigin;
    std::vector<std::array<double, 6>> integrator;  // per object: x, vx, y, vy, z, vz - origin
    Vec3f rotationRates, accumulatedAngles, wrappedAngles;
    Mat4f orientation, camera, cameraCopy;
    float energyKJ = 0;
    float missionTimeS = 0;
    int32_t alignRequest = 0;
    int32_t surfaceProximity = 0;
};

ExactState captureExactState(const SimState& state);

// Makes state continue exactly from exact. False (state unchanged) when the object counts differ.
bool applyExactState(SimState& state, const ExactState& exact);

// True when every value of exact, written with six digits and read back, gives what state holds:
// the object files, last_view.cfg and time.cfg that state was loaded from are the rounded form of
// exact (and not of some other state).
bool exactStateRoundsTo(const ExactState& exact, const SimState& state);

// True when every number of exact is finite (the "na" marker is).
bool exactStateIsFinite(const ExactState& exact);

// Appends the lines of exact to out ("state", "o", "y", ... lines; see the .cpp).
void formatExactState(const ExactState& exact, std::string& out);

// Reads the lines written by formatExactState from lines[index...]; index is moved past them.
// False on anything unexpected (the caller then ignores the whole file).
bool parseExactState(const std::vector<std::string_view>& lines, size_t& index, ExactState& exact);

// Splits text into lines at "\n" (a last piece without "\n" is a line too).
std::vector<std::string_view> splitTextLines(std::string_view text);
