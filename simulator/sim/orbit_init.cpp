// Circular-orbit initial velocities in single precision: the relative velocity lies in the plane
// of the two orbital points, perpendicular to r1, pointing away from P2.
#include "orbit_init.h"

#include <cmath>

namespace {

const char* const kMessageStart = "Unable to compute the initial orbital velocity for the object\n\n";

}  // namespace

std::optional<Vec3f> orbitalVelocity(const SimObject& a, const SimObject& b, std::string& reason) {
    const Vec3f r1 = a.orbitalPosition1Km - b.positionKm;
    const Vec3f r2 = a.orbitalPosition2Km - b.positionKm;
    const float r1Length = length(r1);
    const float r2Length = length(r2);
    if (r1Length == 0.0f || r2Length == 0.0f) {
        reason = "because the orbiting bodies are located at the same position.";
        return std::nullopt;
    }
    const float gm = kGravityFloatKm3PerKgS2 * b.massKg;
    const float speed = -std::sqrt(gm / r1Length);
    const Vec3f u1 = normalize(r1);
    const Vec3f u2 = normalize(r2);
    const Vec3f n = cross(u2, u1);
    if (length(n) == 0.0f) {
        reason = "because the orbital position vectors are aligned (the cross product vanishes).";
        return std::nullopt;
    }
    const Vec3f t = cross(u1, n);
    if (length(t) == 0.0f) {
        reason = "because the orbital positions are probably ill defined.";
        return std::nullopt;
    }
    return t * speed + b.velocityKmPerS;
}

std::optional<OrbitFailure> initialiseOrbits(std::vector<SimObject>& objects) {
    const size_t count = objects.size();
    for (size_t i = 0; i < count; ++i) {
        SimObject& a = objects[i];
        if (a.velocityKmPerS.x != kNaFloat) continue;
        a.positionKm = a.orbitalPosition1Km;
        if (a.orbitedObject == kNaInt) continue;

        std::string reason;
        std::optional<Vec3f> velocity;
        const int64_t number = a.orbitedObject;
        if (number < 1 || number > static_cast<int64_t>(count)) {
            reason = "because its orbital relationship names no object of the configuration.";
        } else if (static_cast<size_t>(number - 1) == i) {
            reason = "because its orbital relationship names the object itself.";
        } else {
            velocity = orbitalVelocity(a, objects[static_cast<size_t>(number - 1)], reason);
        }
        if (!velocity) return OrbitFailure{i, kMessageStart + a.ownPath + "\n\n" + reason};
        a.velocityKmPerS = *velocity;
    }
    return std::nullopt;
}
