// Kepler elements <-> states: round trips over a grid of orbits and planes, checked against
// vis-viva, the direction of motion and the pole of the orbit.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "two_body_orbit.h"

namespace {

constexpr double kDeg = std::numbers::pi / 180;
constexpr double kEarthGm = 6.672e-20 * 5.97217e24;  // km^3/s^2

double angleBetween(double a, double b) {
    return std::abs(std::remainder(a - b, 2 * std::numbers::pi));
}

}  // namespace

TEST(TwoBodyOrbit, ElementsRoundTripThroughStatesOnEveryPlane) {
    struct Case {
        const char* name;
        OrbitElements el;
    };
    const Case cases[] = {
        {"eccentric inclined", {20000, 0.5, 30 * kDeg, 40 * kDeg, 60 * kDeg, 100 * kDeg}},
        {"near-polar", {9000, 0.1, 89 * kDeg, 300 * kDeg, 10 * kDeg, -170 * kDeg}},
        {"retrograde", {42164, 0.3, 150 * kDeg, 200 * kDeg, 250 * kDeg, 45 * kDeg}},
        {"hyperbolic", {-30000, 1.8, 20 * kDeg, 80 * kDeg, 120 * kDeg, 30 * kDeg}},
    };
    const ReferencePlane planes[] = {celestialEquatorPlane(), eclipticPlane(),
                                     equatorPlaneOfPole({0.3, 0.8, -0.5})};
    for (const ReferencePlane& plane : planes) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            const RelativeState s = stateFromElements(c.el, kEarthGm, plane);
            const double r = length(s.positionKm), v = length(s.velocityKmPerS);
            // Vis-viva holds whatever the angles.
            EXPECT_NEAR(v * v, kEarthGm * (2 / r - 1 / c.el.semiMajorAxisKm), 1e-9 * v * v);
            const OrbitElements back = elementsFromState(s, kEarthGm, plane);
            EXPECT_NEAR(back.semiMajorAxisKm, c.el.semiMajorAxisKm, 1e-8 * std::abs(c.el.semiMajorAxisKm));
            EXPECT_NEAR(back.eccentricity, c.el.eccentricity, 1e-10);
            EXPECT_NEAR(back.inclinationRad, c.el.inclinationRad, 1e-10);
            EXPECT_LT(angleBetween(back.ascendingNodeRad, c.el.ascendingNodeRad), 1e-9);
            EXPECT_LT(angleBetween(back.argumentOfPeriapsisRad, c.el.argumentOfPeriapsisRad), 1e-9);
            EXPECT_LT(angleBetween(back.trueAnomalyRad, c.el.trueAnomalyRad), 1e-9);
        }
    }
}

TEST(TwoBodyOrbit, DirectionsAndDegenerateOrbitsFollowTheWorldFrame) {
    // A circular equatorial orbit at 0 h, true anomaly 0: the world's +z, moving east (towards
    // 6 h, the world's -x) at the circular speed; its pole is north (+y).
    const double a = 6378.14 + 400;
    const RelativeState s = stateFromElements({a, 0, 0, 0, 0, 0}, kEarthGm);
    EXPECT_NEAR(s.positionKm.z, a, 1e-9);
    EXPECT_NEAR(s.velocityKmPerS.x, -std::sqrt(kEarthGm / a), 1e-12);
    const OrbitElements el = elementsFromState(s, kEarthGm);
    EXPECT_NEAR(el.periodS(kEarthGm) / 60, 92.58, 0.2);
    EXPECT_EQ(el.inclinationRad, 0);

    // Circular and in the plane: the anomaly alone carries the place, from the zero direction.
    const RelativeState later = stateFromElements({a, 0, 0, 0, 0, 90 * kDeg}, kEarthGm);
    const OrbitElements laterEl = elementsFromState(later, kEarthGm);
    EXPECT_NEAR(laterEl.ascendingNodeRad + laterEl.argumentOfPeriapsisRad + laterEl.trueAnomalyRad,
                90 * kDeg, 1e-9);
    EXPECT_NEAR(later.positionKm.x, -a, 1e-9);

    // Zero inclination against the ecliptic: the pole is the ecliptic's, 23.44 degrees from north.
    const RelativeState ecl = stateFromElements({a, 0.2, 0, 0, 0, 1}, kEarthGm, eclipticPlane());
    const OrbitElements eq = elementsFromState(ecl, kEarthGm);
    EXPECT_NEAR(eq.inclinationRad / kDeg, 23.4392911, 1e-9);

    // A radial fall has no plane: eccentricity 1, nothing else invented.
    const OrbitElements fall = elementsFromState({{7000, 0, 0}, {-1, 0, 0}}, kEarthGm);
    EXPECT_EQ(fall.eccentricity, 1);
    EXPECT_FALSE(fall.bound());
}
