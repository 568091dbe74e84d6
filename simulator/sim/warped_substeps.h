// The gravity part of a frame split into equal RK4 substeps: the thrusters and the energy drain
// act on every substep, so a warped frame burns and drains exactly as many substeps at warp 1
// would.
#pragma once

#include "sim_state.h"

// Thrust acting now from the levels, keys and latches: a held thruster key fires at any energy,
// a latch only while energy is left.
void refreshThrusterForces(SimState& state);

// One RK4 step of hS (double), then Items 2-7 of every object := the state rounded to floats.
void advanceGravityBy(SimState& state, double hS);

// The frame's energy drain of the first substep has been made already (in the step's order);
// runs gravity for it, then for each further substep the thrusters, the drain and gravity.
void advanceSubsteps(SimState& state, double frameS, int substeps);
