// Checks that keep numbers that are not finite out of the saved state: items left "na" where the
// dynamics would turn them into infinity at the first step, and a state that diverged during a run.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "sim_state.h"

struct UnusableItem {
    size_t objectIndex;  // configuration position, from 0
    std::string reason;  // names the item
};

// After orbit initialisation: a velocity component still "na" (no orbit supplied it), or an
// observer rate or acting force given as "na". These values enter the integration unchanged.
std::optional<UnusableItem> findDivergingNaItem(const std::vector<SimObject>& objects);

// The first value of the state that the exit save would write and that is not finite, as
// "<object file>: <item label>" (or the name of the file the value goes to); nothing when all are.
std::optional<std::string> findNonFiniteState(const SimState& state);
