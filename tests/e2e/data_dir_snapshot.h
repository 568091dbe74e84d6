// Every regular file under a data directory with its bytes, so that a test can show that a run
// changed nothing (or only what it should).
#pragma once

#include <filesystem>
#include <map>
#include <string>

#include "test_data_dir.h"

namespace e2e {

using DirSnapshot = std::map<std::string, std::string>;  // path relative to the directory -> bytes

inline DirSnapshot snapshotFiles(const std::string& dir) {
    DirSnapshot files;
    for (const auto& e : std::filesystem::recursive_directory_iterator(dir)) {
        if (e.is_symlink() || !e.is_regular_file()) continue;
        // The single-instance lock of the test's runs lives here too and is not data.
        if (e.path().extension() == ".lock") continue;
        files[std::filesystem::relative(e.path(), dir).string()] = testdata::readText(e.path().string());
    }
    return files;
}

// Names of the files that differ, appeared or vanished between two snapshots.
inline std::string changedFiles(const DirSnapshot& before, const DirSnapshot& after) {
    std::string changed;
    for (const auto& [name, bytes] : before) {
        auto it = after.find(name);
        if (it == after.end() || it->second != bytes) changed += name + " ";
    }
    for (const auto& [name, bytes] : after)
        if (!before.count(name)) changed += name + " ";
    return changed;
}

}  // namespace e2e
