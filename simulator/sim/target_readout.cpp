// Relative motion and the orbit about the target from position and velocity.
#include "target_readout.h"

#include <cmath>
#include <algorithm>
#include <numbers>

#include "vec3d.h"

TargetReadout readTarget(const SimState& state, int body) {
    TargetReadout out;
    const SimObject& target = state.objects[static_cast<size_t>(body)];
    const SimObject& ship = state.observer();
    // The ship relative to the target: from the integrator's double state (relative to an origin
    // at the ship, so precise far from the world's origin), else from the float items.
    Vec3d r = widen(ship.positionKm) - widen(target.positionKm);
    Vec3d v = widen(ship.velocityKmPerS) - widen(target.velocityKmPerS);
    const IntegratorState& y = state.integrator;
    if (y.count() == state.objects.size()) {
        const size_t s = state.objects.size() - 1, t = static_cast<size_t>(body);
        auto diff = [&](int j) { return y.rawComponent(j)[s] - y.rawComponent(j)[t]; };
        r = {diff(0), diff(2), diff(4)};
        v = {diff(1), diff(3), diff(5)};
    }
    const double d = length(r), speed = length(v);
    out.surfaceDistanceKm = static_cast<float>(d - target.equatorialRadiusKm);
    out.relativeSpeedKmPerS = static_cast<float>(speed);
    out.closingSpeedKmPerS = d > 0 ? static_cast<float>(-dot(r, v) / d) + 0.0f : 0.0f;  // no "-0"
    if (speed > 0 && dot(r, v) < 0) out.closestApproachInS = -dot(r, v) / (speed * speed);

    const double mu = kGravityKm3PerKgS2 * static_cast<double>(target.massKg);
    if (!(mu > 0) || !(d > 0)) return out;
    const double energy = 0.5 * speed * speed - mu / d;
    if (!(energy < 0)) return out;
    out.bound = true;
    const double a = -mu / (2 * energy);
    Vec3d h = cross(r, v);
    const double hLen = length(h);
    const double e = std::sqrt(std::max(0.0, 1.0 - hLen * hLen / (mu * a)));
    out.periapsisAltitudeKm = a * (1 - e) - target.equatorialRadiusKm;
    out.apoapsisAltitudeKm = a * (1 + e) - target.equatorialRadiusKm;
    out.periodS = 2 * std::numbers::pi * std::sqrt(a * a * a / mu);
    // In the world's left-handed frame an eastward (prograde) motion gives the component formula's
    // h a negative y, so the angle is taken to -Y.
    out.inclinationRad = hLen > 0 ? std::acos(std::clamp(-h.y / hLen, -1.0, 1.0)) : 0.0;
    return out;
}
