// Temporary files that a killed run left beside the files it was replacing. Only names of this
// program's own patterns are touched, and only when the process that made them is gone.
#pragma once

#include <string>
#include <vector>

#include "sim_state.h"

// The process id in a temporary file name of ours ("<file>.tmp<pid>_<n>", "<file>.tmp<pid>",
// ".<title>_<pid>.tmp"), or 0 when name is not one.
long tempFileOwner(const std::string& name);

// Removes, in each directory (not recursively), the regular files whose names tempFileOwner
// recognises and whose process no longer exists. Returns the paths removed.
std::vector<std::string> removeStaleTempFiles(const std::vector<std::string>& directories);

// The directories a run writes into: the data directory, Objects/, Configurations/, the
// current recording's folder with its sequence folders and the current screenshot folder.
std::vector<std::string> directoriesWrittenByRuns(const SimState& state);
