// Two-burn orbit change on the conic about the primary.
#include "orbit_change.h"

#include <cmath>
#include <cstdio>
#include <numbers>

PlanResult planOrbitChange(const std::vector<SimObject>& objects, int primary, double nowS, double leadS,
                           double altitudeKm) {
    PlanResult result;
    const size_t ship = objects.size() - 1;
    if (primary < 0 || static_cast<size_t>(primary) >= ship) {
        result.summary = "No plan: the ship orbits no body";
        return result;
    }
    const SimObject& body = objects[static_cast<size_t>(primary)];
    if (!(altitudeKm >= kLowestPlannedAltitudeKm)) {
        char text[128];
        std::snprintf(text, sizeof text, "No plan: %.0f km is too low (at least %.0f km above the surface)",
                      altitudeKm, kLowestPlannedAltitudeKm);
        result.summary = text;
        return result;
    }
    const double gm = pairGm(objects, static_cast<size_t>(primary), ship);
    const double goal = body.equatorialRadiusKm + altitudeKm;
    const RelativeState start = propagateKepler(relativeState(objects, ship, static_cast<size_t>(primary)), gm, leadS);
    const double r1 = length(start.positionKm);
    const Vec3d rHat = normalized(start.positionKm);
    const Vec3d horizontal = normalized(start.velocityKmPerS - rHat * dot(start.velocityKmPerS, rHat));
    // First burn: the transfer orbit's speed at r1, along the horizontal (vis-viva).
    const double transferA = (r1 + goal) / 2;
    const double transferSpeed = std::sqrt(gm * (2 / r1 - 1 / transferA));
    const Vec3d dv1 = horizontal * transferSpeed - start.velocityKmPerS;
    const OrbitalFrame frame1 = orbitalFrame(start);
    BurnNode first{nowS + leadS, plannedDeltaV(frame1, dv1), NodeKind::Fixed, primary};
    // Second burn at the far apsis, half the transfer orbit later: circular there.
    const double half = std::numbers::pi * std::sqrt(transferA * transferA * transferA / gm);
    const RelativeState apsis = propagateKepler({start.positionKm, start.velocityKmPerS + dv1}, gm, half);
    const Vec3d aHat = normalized(apsis.positionKm);
    const Vec3d aHorizontal = normalized(apsis.velocityKmPerS - aHat * dot(apsis.velocityKmPerS, aHat));
    const Vec3d dv2 = aHorizontal * std::sqrt(gm / length(apsis.positionKm)) - apsis.velocityKmPerS;
    BurnNode second{first.timeS + half, plannedDeltaV(orbitalFrame(apsis), dv2), NodeKind::Circularise, primary};
    result.found = true;
    result.nodes = {first, second};
    result.totalDeltaVKmPerS = length(dv1) + length(dv2);
    char text[200];
    std::snprintf(text, sizeof text, "Orbit at %.0f km: burn in %s, %.3f km/s; circularise in %s, %.3f km/s",
                  altitudeKm, spanText(leadS).c_str(), length(dv1), spanText(leadS + half).c_str(), length(dv2));
    result.summary = text;
    return result;
}
