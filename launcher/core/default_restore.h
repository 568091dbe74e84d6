// The restore of the delivered default configuration from "Backup Default Config/": nine system
// files in a fixed order, then every object file the default configuration names. Each copy
// replaces its target atomically, so a failure never leaves a half-copied file.
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
};

// The nine files copied first, as (source name, target below the data directory), in order.
const std::vector<std::pair<std::string, std::string>>& restoredSystemFiles();

RestoreResult restoreDefaultConfiguration(const std::string& dataDirectory);

// Copies source over target through a temporary file beside target; false on any failure.
bool copyFileAtomically(const std::string& source, const std::string& target);
