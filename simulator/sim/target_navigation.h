// Target navigation: choosing the target body (cycling by distance), turning the ship to face it,
// and setting the jump distance that ends a chosen altitude above its surface. The keys only make
// requests; the frame step carries them out before the control step, in live runs and in exact
// replays alike.
#pragma once

#include <cstdint>

#include "math3d.h"
#include "sim_state.h"

// Surface distance of body i from the observer (centre distance less the equatorial radius).
float surfaceDistanceKm(const SimState& state, int body);

// Next (step +1) or previous (step -1) target in the order of surface distance, nearest first,
// wrapping around; from no target, +1 takes the nearest and -1 the farthest. No body: no target.
void cycleTarget(SimState& state, int step);
// Chooses body as the target (an index out of range clears it).
void selectTarget(SimState& state, int body);

// Y and Z: requests for the next frame step; nothing without a target or in replay mode.
void requestFaceTarget(SimState& state);
void requestJumpToTarget(SimState& state);

// Carries out and clears the pending requests: first the turn (rates to zero, camera rebuilt),
// then the jump distance, which therefore uses the new forward axis.
void applyNavigationRequests(SimState& state);

// Turns the orientation by the smallest rotation that brings the forward axis onto direction
// (keeping the roll as far as possible), zeroes the rotation rates and rebuilds the camera.
void faceDirection(SimState& state, Vec3f direction);

// Distance along the unit forward axis from the observer at which the distance to centre equals
// endRadiusKm: the near crossing of that sphere, or the point of closest approach when the axis
// misses it; never negative, at most the jump limit.
float jumpDistanceToSphere(Vec3f observerKm, Vec3f forward, Vec3f centreKm, float endRadiusKm);

// The requests before a frame as flag bits of the exact replay file (bits 2-3 say which requests,
// bits 4-15 the turn's target, 16-27 the jump's target, 28-31 the altitude choice) and back.
uint32_t navigationRequestFlags(const NavigationState& nav);
void setNavigationRequests(NavigationState& nav, uint32_t flags);
