// The substep bound of a warped frame: a fixed fraction of the shortest two-body dynamical time
// sqrt(r^3 / (G (m_i + m_j))) over the pairs that matter: every object (the ship included, as
// attracted only) with the body that pulls it hardest and with the body it orbits (the Moon pulls
// harder towards the Sun, but it orbits Earth). It depends on positions and masses alone, so a
// replay that sees the same state splits a frame the same way.
#pragma once

#include <vector>

#include "sim_object.h"

// RK4 substeps per shortest dynamical time: 1/64 keeps a low orbit's radius within metres per orbit.
constexpr double kStepBoundFraction = 1.0 / 64.0;
// No substep is asked to be shorter than this (coinciding or overlapping bodies).
constexpr double kShortestStepBoundS = 0.05;

double stepBoundS(const std::vector<SimObject>& objects);
// Substeps for a frame of hS: ceil(h / bound), at least 1.
int substepCount(const std::vector<SimObject>& objects, double hS);

// The body (not the observer) that pulls object i hardest, -1 when there is none.
int dominantBody(const std::vector<SimObject>& objects, size_t i);
// The body object i orbits: the nearest more massive body whose Hill sphere about the most
// massive body (the star) holds it, else the star; -1 without bodies.
int primaryBody(const std::vector<SimObject>& objects, size_t i);
