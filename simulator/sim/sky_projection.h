// Where the bodies stand on the screen: each body's true direction (the heads-up display's
// declination and right ascension) and its drawn disc, projected with the camera and the field of
// view. Markers and the target bracket are drawn there, and a click picks a body from it; pure
// code, so a run without a window picks as a visible run does.
#pragma once

#include <vector>

#include "math3d.h"
#include "sim_state.h"

// A disc of a radius smaller than this many pixels gets a marker.
constexpr float kMarkerDiscRadiusPx = 3.0f;
// A click within this many pixels of a marker picks its body.
constexpr float kMarkerPickRadiusPx = 8.0f;

struct BodyOnScreen {
    int body = -1;
    bool inFront = false;        // the true direction is in front of the camera
    float x = 0, y = 0;          // the true direction, client pixels
    bool discInFront = false;
    float discX = 0, discY = 0;  // centre of the drawn disc (its distance compressed)
    float discRadiusPx = 0;      // apparent radius
    float surfaceDistanceKm = 0;
    bool marked() const { return inFront && discRadiusPx < kMarkerDiscRadiusPx; }
};

// Screen position of a world direction; false when it is not in front of the camera.
bool projectDirection(const SimState& state, Vec3f direction, int widthPx, int heightPx, float& x,
                      float& y);

// Every body (not the observer), in object order, into out (reused, so a frame allocates nothing
// once it has grown).
void placeBodiesOnScreen(const SimState& state, int widthPx, int heightPx, std::vector<BodyOnScreen>& out);

// The body a click at (x, y) lands on: a marker within the pick radius, or else a disc that holds
// the point; the nearest to the observer wins. -1 for none.
int pickBody(const std::vector<BodyOnScreen>& bodies, float x, float y);
