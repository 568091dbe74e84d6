// The simulator's default-configuration restore (F12): its order of system files, and object
// names up to the line "-999".
#pragma once

#include "backup_restore.h"

// The names copied first, in the simulator's order.
const std::vector<RestoreEntry>& defaultRestoreSystemFiles();

DefaultRestoreResult restoreDefaultConfiguration(const std::string& dataDirectory);
