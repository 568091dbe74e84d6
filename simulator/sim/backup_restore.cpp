// Restores from the backup directory: byte copies gathered first, then committed as one set.
#include "backup_restore.h"

#include "file_set_commit.h"
#include "selection_file.h"
#include "text_file.h"

namespace {

constexpr const char* kBackupDir = "Backup Default Config/";
constexpr const char* kDefaultConfiguration = "Configurations/Default Configuration.cfg";

}  // namespace

DefaultRestoreResult restoreFromBackup(const std::string& dataDirectory, const std::vector<RestoreEntry>& systemFiles,
                                       const ConfigurationNames& namesOf) {
    DefaultRestoreResult result;
    const std::string backup = dataDirectory + kBackupDir;
    std::vector<FileToWrite> copies;
    std::vector<std::string> sources;  // backup names, beside copies
    bool stopped = false;
    auto gather = [&](const std::string& sourceName, const std::string& target, bool nameIsSafe) {
        std::string contents;
        std::string reason = "the name would leave its folder";
        if (!nameIsSafe || !readWholeFile(backup + sourceName, contents, &reason)) {
            result.failedSource = backup + sourceName;
            result.failedName = sourceName;
            result.reason = reason;
            stopped = true;
            return;
        }
        copies.push_back({dataDirectory + target, std::move(contents)});
        sources.push_back(sourceName);
    };
    std::string configurationText;
    bool configurationCopied = false;
    for (const RestoreEntry& e : systemFiles) {
        gather(e.source, e.target, true);
        if (stopped) break;
        if (e.target == kDefaultConfiguration) {
            configurationText = copies.back().contents;
            configurationCopied = true;
        }
    }
    if (!stopped && !configurationCopied) {
        // Not among the system files: its working copy names the objects.
        if (!readWholeFile(dataDirectory + kDefaultConfiguration, configurationText, &result.reason)) {
            result.failedSource = dataDirectory + kDefaultConfiguration;
            result.configurationUnreadable = true;
            stopped = true;
        }
    }
    if (!stopped)
        for (const std::string& name : namesOf(configurationText)) {
            gather(name, "Objects/" + name, isSafePathName(name));
            if (stopped) break;
        }

    if (std::optional<FileSetFailure> failed = commitFileSet(dataDirectory, copies)) {
        // Nothing of the set was replaced; the failure is reported on the copy it stopped at.
        size_t i = 0;
        while (i + 1 < copies.size() && copies[i].path != failed->path) ++i;
        result.failedName = copies.empty() ? std::string(kPendingRenamesName) : sources[i];
        result.failedSource = copies.empty() ? failed->path : backup + sources[i];
        result.reason = failed->reason;
        result.configurationUnreadable = false;
        return result;
    }
    for (const FileToWrite& f : copies) result.copiedTargets.push_back(f.path);
    result.restored = !stopped;
    return result;
}

