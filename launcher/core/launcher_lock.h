// The launcher's single-instance guard: an advisory lock on a file of its own in the user's
// runtime directory (not the simulator's), held until the process ends.
#pragma once

#include <string>

// The lock file: $XDG_RUNTIME_DIR (or /tmp) + "/celestrix-launch-pad-<uid>.lock".
std::string launcherLockPath();

// False when another launcher holds the lock, or when the lock file cannot be opened.
bool acquireLauncherLock();

class DataDirectoryLock;
// The launcher's hold on the data directory's lock (shared with the simulator): taken at start
// and kept while the launcher may write, given up only while it waits for a simulator it started.
DataDirectoryLock& launcherDataDirectoryLock();
