// The navigation figures of one frame: everything the target panel, the top-centre banner and the
// target's marker say about the chosen target, computed once per frame from one state so that they
// never contradict each other. Distances are given both from the target's centre and above its
// surface (its equatorial radius); the closest approach ahead comes from the predicted path while
// that path is current, else from the straight course.
#pragma once

#include <string>

#include "sim_state.h"

struct PredictedPath;

enum class ApproachSource { None, PredictedPath, StraightCourse };

struct NavigationFigures {
    int target = -1;  // -1: no target, every other figure is 0
    double centreDistanceKm = 0;
    double surfaceDistanceKm = 0;  // centre distance less the equatorial radius
    double closingSpeedKmPerS = 0;  // positive while the distance shrinks
    double relativeSpeedKmPerS = 0;

    // The closest approach ahead; None when the distance only grows (receding).
    ApproachSource approach = ApproachSource::None;
    double closestInS = 0;         // from now, never negative
    double closestCentreKm = 0;
    double closestSurfaceKm = 0;   // negative: the course meets the surface
    double pathAgeS = -1;          // mission time since the path used was started; -1: none used

    // The two-body orbit about the target, when the ship is bound to it.
    bool bound = false;
    double periapsisAltitudeKm = 0;
    double apoapsisAltitudeKm = 0;
    double periodS = 0;
    double inclinationRad = 0;  // to the world's equator (+Y the north pole)
};

// The figures of target (out of range: none). The relative state comes from the integrator's
// double state when it is set up for these objects. path, when given, is used while it belongs to
// this target, covers the present mission time and still agrees with where the ship is (a jump or
// a burn since it was started makes it stale, and the straight course stands in).
NavigationFigures computeNavigationFigures(const SimState& state, int target, const PredictedPath* path = nullptr);

// A body's name as shown: its object file name up to the first '.'; "" out of range.
std::string bodyDisplayName(const SimState& state, int body);
