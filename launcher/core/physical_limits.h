// Physical limits of a starting system that the consistency check points out: the Hill sphere
// of a satellite's primary, the Roche limit of a ringed planet for ice, and an orbit that dips
// into its primary. They become notes; they never make a list inconsistent.
#pragma once

#include <string>
#include <vector>

#include "starting_state.h"

constexpr double kWaterIceDensityKgPerM3 = 917;  // ice Ih at 0 degrees C

// Radius within which a body of massKg, distanceKm from a heavier body of primaryMassKg, holds
// satellites against the heavier body's tide: d * cbrt(m / (3 M)).
double hillRadiusKm(double massKg, double distanceKm, double primaryMassKg);

// Distance inside which a fluid body of water ice is pulled apart by a planet's tide:
// 2.423 R (rho_planet / rho_ice)^(1/3) ((1 + f/3) / (1 - f))^(1/3), with the planet's mean
// density from its mass and its spheroid volume, and its flattening f = 1 - polar / equatorial.
double rocheLimitForIceKm(double massKg, double equatorialRadiusKm, double polarRadiusKm);

// The notes for a list whose objects bear names (same order), each starting with "\nNote: ".
std::vector<std::string> physicalNotes(const StartingState& state,
                                       const std::vector<std::string>& names);
