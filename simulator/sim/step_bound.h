// The substep bound of a warped frame: a fixed fraction of the shortest two-body dynamical time
// sqrt(r^3 / (G (m_i + m_j))) over the pairs that matter, each object with the body that pulls it
// hardest (the ship included, as attracted only). It depends on the positions and masses alone, so
// a replay that sees the same state splits a frame the same way.
#pragma once

#include <vector>

#include "sim_object.h"

struct SimState;

// RK4 substeps per shortest dynamical time: 1/64 keeps a low orbit's radius within metres per orbit.
constexpr double kStepBoundFraction = 1.0 / 64.0;
// No substep is asked to be shorter than this (coinciding or overlapping bodies).
constexpr double kShortestStepBoundS = 0.05;

double stepBoundS(const std::vector<SimObject>& objects);
// Substeps for a frame of hS: ceil(h / bound), at least 1.
int substepCount(const std::vector<SimObject>& objects, double hS);
