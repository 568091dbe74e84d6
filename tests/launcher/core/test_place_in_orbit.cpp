// Placing an object by its elements: the items written are read back as the simulator reads them,
// run through the simulator's own orbit set-up, and the relative state it starts must give back
// the elements asked for. Orbits the two points reproduce keep Items 5-7 "na"; the others carry
// their velocity.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "float_format.h"
#include "integrator.h"
#include "object_wizard_values.h"
#include "orbit_init.h"
#include "place_in_orbit.h"

namespace {

constexpr double kDeg = std::numbers::pi / 180;

// The delivered Earth and Saturn, as their files hold them.
OrbitParent earth() {
    OrbitParent p;
    p.velocityKmPerS = {5.02888, -2.18027, -29.7798};
    p.massKg = 5.97217e24;
    p.equatorialRadiusKm = 6378.14;
    return p;
}

OrbitParent saturn() {
    OrbitParent p;
    p.positionKm = {-7.91049e8, 1.2e8, 1.1e9};
    p.velocityKmPerS = {-2.1, 4.5, -25.0};
    p.massKg = 5.68458e26;
    p.equatorialRadiusKm = 60268;
    p.tiltRad = 0.0858143;
    return p;
}

OrbitParent sun() {
    OrbitParent p;
    p.positionKm = {-2.6e7, 1.3e7, 1.4e8};
    p.massKg = 1.989e30;
    p.equatorialRadiusKm = 696000;
    p.isStar = true;
    return p;
}

float written(double value) { return parseLeadingFloat(wizardNumber(value)); }
Vec3f written(Vec3d v) { return {written(v.x), written(v.y), written(v.z)}; }

// The parent and the object as the simulator reads the written items, after its orbit set-up.
RelativeState simulatorStart(const OrbitParent& parent, const OrbitPlacement& placed, double objectMassKg) {
    std::vector<SimObject> objects(2);
    objects[0].positionKm = written(parent.positionKm);
    objects[0].velocityKmPerS = written(parent.velocityKmPerS);
    objects[0].massKg = written(parent.massKg);
    SimObject& a = objects[1];
    a.massKg = written(objectMassKg);
    a.positionKm = written(placed.firstPointKm);
    a.orbitalPosition1Km = a.positionKm;
    a.orbitalPosition2Km = written(placed.secondPointKm);
    a.orbitedObject = 1;
    a.velocityKmPerS = placed.velocityKmPerS ? written(*placed.velocityKmPerS) : Vec3f{kNaFloat, kNaFloat, kNaFloat};
    EXPECT_FALSE(initialiseOrbits(objects).has_value());
    return {widen(objects[1].positionKm) - widen(objects[0].positionKm),
            widen(objects[1].velocityKmPerS) - widen(objects[0].velocityKmPerS)};
}

struct PlacementCase {
    const char* what;
    OrbitParent parent;
    double objectMassKg;
    double periapsisAltitudeKm, eccentricity, inclinationDeg, nodeDeg, periapsisArgDeg, trueAnomalyDeg;
    bool pointsAlone;        // Items 5-7 stay "na"
    double tolerance;        // relative, on a, e (absolute), angles (degrees, absolute)
};

TEST(PlaceInOrbit, TheSimulatorStartsTheOrbitAskedFor) {
    const std::vector<PlacementCase> cases = {
        {"massless moon, 400 km, circular", earth(), 0, 400, 0, 51.6, 40, 0, 25, true, 1e-5},
        {"massless moon, circular, retrograde", earth(), 0, 2000, 0, 120, 300, 0, 250, true, 1e-5},
        {"massless moon, eccentric, at apoapsis", earth(), 0, 1000, 0.3, 20, 10, 70, 180, true, 1e-5},
        {"massless moon, eccentric, at periapsis", earth(), 0, 1000, 0.3, 20, 10, 70, 0, false, 1e-5},
        {"heavy moon, circular", earth(), 7.3e22, 380000, 0, 5, 0, 0, 90, false, 1e-5},
        {"Saturn, e 0.5, i 30", saturn(), 1000, 50000, 0.5, 30, 70, 45, 60, false, 5e-3},
        {"planet about the Sun, ecliptic", sun(), 6.4e23, 2.2e8, 0.09, 1.85, 49.6, 286, 120, false, 1e-4},
    };
    for (const PlacementCase& c : cases) {
        SCOPED_TRACE(c.what);
        OrbitRequest request;
        request.objectMassKg = c.objectMassKg;
        OrbitElements& e = request.elements;
        e.eccentricity = c.eccentricity;
        e.semiMajorAxisKm =
            semiMajorAxisFromPeriapsisAltitude(c.periapsisAltitudeKm, c.eccentricity, c.parent.equatorialRadiusKm);
        e.inclinationRad = c.inclinationDeg * kDeg;
        e.ascendingNodeRad = c.nodeDeg * kDeg;
        e.argumentOfPeriapsisRad = c.periapsisArgDeg * kDeg;
        e.trueAnomalyRad = c.trueAnomalyDeg * kDeg;
        ASSERT_FALSE(placementProblem(request, c.parent).has_value());
        const OrbitPlacement placed = placeInOrbit(request, c.parent);
        EXPECT_EQ(!placed.velocityKmPerS.has_value(), c.pointsAlone);

        const double gm = kGravityKm3PerKgS2 * (c.parent.massKg + c.objectMassKg);
        const OrbitElements got = elementsFromState(simulatorStart(c.parent, placed, c.objectMassKg), gm,
                                                    referencePlaneFor(c.parent));
        EXPECT_NEAR(got.semiMajorAxisKm / e.semiMajorAxisKm, 1, c.tolerance);
        EXPECT_NEAR(got.eccentricity, c.eccentricity, c.tolerance * 10 + 1e-4);
        EXPECT_NEAR(got.inclinationRad / kDeg, c.inclinationDeg, c.tolerance * 100);
        if (c.eccentricity > 0) {
            EXPECT_NEAR(got.argumentOfPeriapsisRad / kDeg, c.periapsisArgDeg, c.tolerance * 100);
        }
    }
}

TEST(PlaceInOrbit, RefusesOrbitsThatCannotBePlaced) {
    struct Refusal {
        const char* what;
        double a, e, massKg;
    };
    const std::vector<Refusal> refusals = {
        {"eccentricity 1", 1e5, 1, 6e24},
        {"negative eccentricity", 1e5, -0.1, 6e24},
        {"periapsis below the surface", 7000, 0.5, 6e24},
        {"massless parent", 1e5, 0, 0},
        {"no semi-major axis", 0, 0, 6e24},
        {"infinite semi-major axis", INFINITY, 0, 6e24},
    };
    for (const Refusal& r : refusals) {
        SCOPED_TRACE(r.what);
        OrbitParent parent = earth();
        parent.massKg = r.massKg;
        OrbitRequest request;
        request.elements.semiMajorAxisKm = r.a;
        request.elements.eccentricity = r.e;
        EXPECT_TRUE(placementProblem(request, parent).has_value());
    }
}

TEST(PlaceInOrbit, PlaneFollowsTheParentAndItsTilt) {
    EXPECT_TRUE(measuredAgainstEcliptic(sun()));
    EXPECT_FALSE(measuredAgainstEcliptic(earth()));
    // An equatorial orbit of a tilted body turns about its pole.
    OrbitParent tilted = saturn();
    tilted.tiltRad = 0.5;
    OrbitRequest request;
    request.elements.semiMajorAxisKm = 2e5;
    const OrbitPlacement placed = placeInOrbit(request, tilted);
    const Vec3d h = cross(placed.relative.positionKm, placed.relative.velocityKmPerS);
    EXPECT_NEAR(std::fabs(dot(normalized(h), bodyPoleWorld(0.5))), 1, 1e-12);
}

}  // namespace
