// The flight plan's commands applied to the planner, and the scripted keys that deliver them.
#pragma once

#include <string>

#include "flight_plan_keys.h"
#include "flight_planner.h"

// Applies a flight plan command; false when command is not one.
bool handleFlightPlanCommand(FlightPlanner& planner, SimState& state, int command);
// The flight plan command of a scripted key press (Insert, Delete, PageUp, PageDown, KP8, KP2,
// KP4, KP6, KP7, KP9 (LShift held: finer), Home, End, Enter, 0-9), 0 for other keys.
int flightPlanScriptCommand(const std::string& keyName, bool leftShiftHeld);
