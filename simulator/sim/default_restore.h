// Restoring the delivered default setup from "Backup Default Config/": the system files, the
// default configuration and every object file it names, copied back over the working files.
#pragma once

#include <string>
#include <vector>

struct DefaultRestoreResult {
    bool restored = false;                 // every copy succeeded
    std::vector<std::string> copiedTargets;  // full paths replaced, in the order they were copied
    std::string failedSource;               // full path of the first copy that failed, if any
    bool configurationUnreadable = false;   // the default configuration could not be read after
                                            // its copy (failedSource names it)
};

// The names copied first, in the simulator's order: backup name and target relative to the data
// directory.
struct RestoreEntry {
    const char* source;
    const char* target;
};
const std::vector<RestoreEntry>& defaultRestoreSystemFiles();

// Copies the system files in order, then reads "Configurations/Default Configuration.cfg" and
// copies each object file it names (up to the line "-999") from the backup to "Objects/". The
// first failed copy stops the restore; files copied before stay copied. Every copy replaces its
// target atomically, so a failure leaves each target either as it was or wholly restored.
DefaultRestoreResult restoreDefaultConfiguration(const std::string& dataDirectory);
