// Running the simulator from the launcher: the OpenGL probe, and a live or replay run that the
// launcher waits for while its windows stay painted but take no input.
#pragma once

#include <optional>

#include "launcher_context.h"

// Runs `corvane --probe` and returns the code it printed; nullopt when it is missing, fails or
// prints no valid code.
std::optional<int> probeOpenGlVersion(const CLauncherContext& context);

// Starts the simulator with a blank first argument and context.simulatorArgument, in the data
// directory, and returns when it has ended; its exit code is ignored. Returns at once when it
// cannot be started. $CELESTRIX_TEST_SIMULATOR_OPTIONS (used only by tests, words separated by
// spaces) goes before the two arguments.
void runSimulatorAndWait(const CLauncherContext& context);
