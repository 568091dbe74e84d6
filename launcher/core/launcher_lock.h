// The launcher's single-instance guard: an advisory lock on a file of its own in the user's
// runtime directory (not the simulator's), held until the process ends.
#pragma once

#include <string>

// The lock file: $XDG_RUNTIME_DIR (or /tmp) + "/celestrix-launch-pad-<uid>.lock".
std::string launcherLockPath();

enum class LockOutcome { Acquired, HeldByAnother, CannotOpen };

struct LauncherLock {
    LockOutcome outcome = LockOutcome::CannotOpen;
    std::string failure;  // CannotOpen: why, with the path
};

// Takes the lock. A link, or anything but a regular file, at the lock's path is never followed or
// used: that is a failure to open it, reported as such, not another launcher.
LauncherLock acquireLauncherLock();

class DataDirectoryLock;
// The launcher's hold on the data directory's lock (shared with the simulator): taken at start
// and kept while the launcher may write, given up only while it waits for a simulator it started.
DataDirectoryLock& launcherDataDirectoryLock();
