// Single-instance guard: an advisory lock on a file in the user's runtime directory, held until
// the process ends.
#pragma once

#include <string>

// Returns false when another process holds the lock (or the lock file cannot be opened).
bool acquireInstanceLock(const std::string& name);
std::string instanceLockPath(const std::string& name);
