// RK4 integration of the mutual gravity of all objects plus the observer's thrust.
//
// State: per object six doubles (x - origin.x, vx, y - origin.y, vy, z - origin.z, vz) in km and
// km/s, relative to an origin at the observer's position at the last set-up. The observer (last
// object) is attracted by every body and attracts nothing. Masses, forces, thruster directions and
// the velocity for the relativistic factor are read from the objects at every step; positions and
// velocities come only from this state, which persists between frames. Owned by SimState; sized
// once at set-up, never allocates during step().
#pragma once

#include <cstddef>
#include <vector>

#include "math3d.h"
#include "sim_object.h"

// Gravitational constant: the float nearest 6.672e-20 km^3 kg^-1 s^-2, widened to double.
constexpr double kGravityKm3PerKgS2 = static_cast<double>(6.672e-20f);
constexpr float kLimitSpeedKmPerS = 299972.0f;

// Relativistic factor of a velocity: sqrt(1 - v^2 / c^2) with the squared speed held as a float,
// 0 at or above the limit speed.
float relativisticFactor(Vec3f velocityKmPerS);

class IntegratorState {
public:
    // origin := observer position; every object's state from its float position and velocity.
    void setUp(const std::vector<SimObject>& objects);
    // One RK4 step of h seconds.
    void step(double hS, const std::vector<SimObject>& objects);
    // y[i][j] plus the origin for the position components j = 0, 2, 4.
    double readBack(size_t i, int j) const;

    Vec3f origin;  // km, observer position at the last set-up
    size_t count() const { return count_; }

private:
    size_t count_ = 0;
    std::vector<double> y_;  // filled by the integrator implementation
};
