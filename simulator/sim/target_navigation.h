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

// Y and Z: requests for the next frame step; nothing without a target or in replay mode (the
// state's notice then says why).
void requestFaceTarget(SimState& state);
void requestJumpToTarget(SimState& state);

// Carries out and clears the pending requests: first the turn (rates to zero, camera rebuilt,
// thrusters aligned with the new view), then Z's: the same turn to its target and the jump
// distance along the new forward axis to the chosen altitude, which arms Z's promise: the next
// jump ends there.
void applyNavigationRequests(SimState& state);

// The control step's part in Z's promise, before its jump: a distance key takes the promise back,
// and a released Q may jump again. Then, when a jump is asked for (byKey: Q, else its latch),
// whether it goes ahead: an armed jump gets its distance worked out anew from where the ship and
// the target are now (and is refused, with its reason, when the forward axis misses the
// altitude); Q held on after an armed jump does not jump until it is pressed anew.
void updateJumpPromise(SimState& state, bool distanceKeyActive, bool jumpKeyDown);
bool admitJump(SimState& state, bool byKey);

// Y's turn: faces body and aligns the thrusters with the new view.
void faceTarget(SimState& state, int body);

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
