// The time warp line at the top centre: the factor while it is above 1 (the reasons for drops and
// refusals are the state's notice).
#pragma once

#include <string>

#include "sim_state.h"

// "Time warp 1,000x" above 1, else ""; an exact replay shows the warp it recorded.
std::string warpFactorText(const TimeWarp& warp);
