// Restoring the delivered default setup from "Backup Default Config/": the system files, the
// default configuration and every object file it names, copied back over the working files as
// one committed set, so that a restore interrupted at any moment leaves all of them as they were
// or all of them restored.
#pragma once

#include <functional>
#include <string>
#include <vector>

struct DefaultRestoreResult {
    bool restored = false;                 // every copy succeeded
    std::vector<std::string> copiedTargets;  // full paths replaced, in the order they were copied
    std::string failedSource;               // full path of the first copy that failed, if any
    std::string failedName;                 // its name below "Backup Default Config/"
    std::string reason;                     // why it failed, for standard error
    bool configurationUnreadable = false;   // the default configuration could not be read after
                                            // its copy (failedSource names it)
};

// A system file of the restore: backup name and target relative to the data directory.
struct RestoreEntry {
    std::string source;
    std::string target;
};

// The object names a default configuration's text lists (its lines up to the end marker).
using ConfigurationNames = std::function<std::vector<std::string>(const std::string& text)>;

// Copies the system files in order, then every object file the restored default configuration
// names (up to its end marker) from the backup to "Objects/". The first copy that cannot be made
// (a missing backup file, a name that would leave Objects/) stops the restore; the copies before
// it are made, the rest are not. Everything copied is committed as one set: a target is never
// half-written, and a kill leaves either none or all of that set in place.
DefaultRestoreResult restoreFromBackup(const std::string& dataDirectory, const std::vector<RestoreEntry>& systemFiles,
                                       const ConfigurationNames& namesOf);
