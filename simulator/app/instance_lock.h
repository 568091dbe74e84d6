// Single-instance guard: an advisory lock on a file in the user's runtime directory, held until
// the process ends.
#pragma once

#include <string>

// Returns false when another process holds the lock, or when the lock file cannot be opened at
// all; error (if given) is then set to why, and stays empty when another process holds it.
bool acquireInstanceLock(const std::string& name, std::string* error = nullptr);
// Gives the lock up before the process ends (a fatal exit), so that nothing that outlives this
// process, such as a message box, keeps it held.
void releaseInstanceLock();
std::string instanceLockPath(const std::string& name);

// The lock of the data directory (one simulator per data directory, whatever the session), held
// until the process ends or releaseInstanceLock gives it up with the single-instance lock. False
// with message set when another program holds it; when the lock file cannot be made at all (a
// directory this user may not write), true with message saying so, as nothing can be saved there.
bool acquireDataDirectoryLock(const std::string& dataDirectory, std::string& message);
