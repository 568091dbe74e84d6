// The substep bound of a warped frame: a fixed fraction of the shortest two-body dynamical time
// sqrt(r^3 / (G (m_i + m_j))) over the pairs that matter: every object (the ship included, as
// attracted only) with the body that pulls it hardest and with the body it orbits (the Moon pulls
// harder towards the Sun, but it orbits Earth); while the ship burns, also a fraction of the time
// its energy lasts. It depends on the objects' items alone, so a replay that sees the same state
// splits a frame the same way.
#pragma once

#include <vector>

#include "sim_object.h"

// RK4 substeps per shortest dynamical time: 1/64 keeps a low orbit's radius within metres per orbit.
constexpr double kStepBoundFraction = 1.0 / 64.0;
// No substep is asked to be shorter than this (coinciding or overlapping bodies).
constexpr double kShortestStepBoundS = 0.05;

// Substeps times objects squared that no frame exceeds, whatever frame time a recording holds.
constexpr double kSubstepPairCap = 1e7;

double stepBoundS(const std::vector<SimObject>& objects);
// Substeps for a frame of hS: ceil(h / bound), at least 1, at most the cap's share (at least 64).
// A live frame stays far below the cap (its warp drops first); the cap keeps an absurd recorded
// frame time from stalling a replay.
int substepCount(const std::vector<SimObject>& objects, double hS);

// The body (not the observer) that pulls object i hardest, -1 when there is none.
int dominantBody(const std::vector<SimObject>& objects, size_t i);
// The body object i orbits: the nearest more massive body whose Hill sphere about the most
// massive body (the star) holds it, else the star; -1 without bodies.
int primaryBody(const std::vector<SimObject>& objects, size_t i);
// primaryBody of every object, visiting only the pairs within reach.
std::vector<int> primaryBodies(const std::vector<SimObject>& objects);
