// Copying the delivered defaults back in the launcher's order, through the shared restore from
// the backup directory (one committed set of copies).
#include "default_restore.h"

#include "backup_restore.h"
#include "configuration_lines.h"
#include "mission_date.h"
#include "text_file.h"

const std::vector<std::pair<std::string, std::string>>& restoredSystemFiles() {
    static const std::vector<std::pair<std::string, std::string>> files = {
        {"configfile.cfg", "configfile.cfg"},
        {"Default Configuration.cfg", "Configurations/Default Configuration.cfg"},
        {"moviefile.cfg", "moviefile.cfg"},
        {"screenshotfile.cfg", "screenshotfile.cfg"},
        {"time.cfg", "time.cfg"},
        {"guispecs.cfg", "guispecs.cfg"},
        {"vcrspecs.cfg", "vcrspecs.cfg"},
        {"CfgTemplate.cfg", "CfgTemplate.cfg"},
        {"last_view.cfg", "last_view.cfg"},
    };
    return files;
}

RestoreResult restoreDefaultConfiguration(const std::string& dataDirectory) {
    std::vector<RestoreEntry> systemFiles;
    for (const auto& [source, target] : restoredSystemFiles()) systemFiles.push_back({source, target});
    const DefaultRestoreResult done = restoreFromBackup(dataDirectory, systemFiles, [](const std::string& text) {
        std::vector<std::string> names;
        for (TextLine& line : splitLines(text)) {
            if (isEndMarkerLine(line.text)) break;
            names.push_back(std::move(line.text));
        }
        return names;
    });
    RestoreResult result;
    result.reason = done.reason;
    if (done.configurationUnreadable) {
        result.status = RestoreResult::Status::DefaultConfigurationUnreadable;
        result.path = done.failedSource;
    } else if (!done.restored) {
        result.status = RestoreResult::Status::CopyFailed;
        result.failedName = done.failedName;
    }
    if (done.restored) forgetMissionDate(dataDirectory);  // the restored world stands at J2000.0 again
    return result;
}
