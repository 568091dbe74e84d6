// Orbit initialisation: objects whose velocity is not given are placed at their first orbital
// point and given a circular-orbit velocity about the object their Item 8 names.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "integrator.h"
#include "sim_object.h"

// G in single precision (6.672e-20 km^3 kg^-1 s^-2), the same constant the integrator widens.
constexpr float kGravityFloatKm3PerKgS2 = static_cast<float>(kGravityKm3PerKgS2);

struct OrbitFailure {
    size_t objectIndex;   // 0-based index of the object that could not be initialised
    std::string message;  // the complete text for the "Fatal error" message box
};

// Runs over the objects in configuration order. An object whose velocity x is kNaFloat is moved
// to P1 (Items 9-11); if its Item 8 is not kNaInt it gets velocity s * t + velocity of B (see
// orbitalVelocity). Stops at the first object that cannot be initialised; the objects before it
// keep their new values. Item 8 outside 1..N or naming the object itself is refused the same way.
std::optional<OrbitFailure> initialiseOrbits(std::vector<SimObject>& objects);

// The velocity of a about b, all in single precision. On failure returns nothing and sets reason to
// the text that ends the message ("because ...").
std::optional<Vec3f> orbitalVelocity(const SimObject& a, const SimObject& b, std::string& reason);
