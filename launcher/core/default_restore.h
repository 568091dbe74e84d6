// The restore of the delivered default configuration from "Backup Default Config/": nine system
// files in a fixed order, then every object file the default configuration names. The copies are
// committed as one set, so a failure or a kill never leaves a half-copied file or half a restore.
#pragma once

#include <string>
#include <vector>

struct RestoreResult {
    enum class Status {
        Restored,
        CopyFailed,                     // failedName could not be copied; earlier copies stay
        DefaultConfigurationUnreadable  // path: the restored default configuration
    };
    Status status = Status::Restored;
    std::string failedName;  // source name below "Backup Default Config/"
    std::string path;
    std::string reason;  // why the copy failed, for standard error
};

// The nine files copied first, as (source name, target below the data directory), in order.
const std::vector<std::pair<std::string, std::string>>& restoredSystemFiles();

RestoreResult restoreDefaultConfiguration(const std::string& dataDirectory);
