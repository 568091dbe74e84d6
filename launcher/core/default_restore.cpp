// Copying the delivered defaults back in the launcher's order.
#include "default_restore.h"

#include "configuration_lines.h"
#include "mission_date.h"
#include "selection_file.h"
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

bool copyFileAtomically(const std::string& source, const std::string& target) {
    std::string contents;
    return readWholeFile(source, contents) && writeFileAtomically(target, contents);
}

RestoreResult restoreDefaultConfiguration(const std::string& dataDirectory) {
    RestoreResult result;
    const std::string backup = dataDirectory + "Backup Default Config/";
    auto failed = [&](const std::string& name) {
        result.status = RestoreResult::Status::CopyFailed;
        result.failedName = name;
        return result;
    };
    for (const auto& [source, target] : restoredSystemFiles())
        if (!copyFileAtomically(backup + source, dataDirectory + target)) return failed(source);

    result.path = dataDirectory + "Configurations/Default Configuration.cfg";
    std::optional<std::vector<std::string>> names = readConfigurationLines(result.path);
    if (!names) {
        result.status = RestoreResult::Status::DefaultConfigurationUnreadable;
        return result;
    }
    result.path.clear();
    for (const std::string& name : *names) {
        // A name that leaves its folder ("../x") is never copied: it fails like a missing file.
        if (!isSafePathName(name) ||
            !copyFileAtomically(backup + name, dataDirectory + "Objects/" + name))
            return failed(name);
    }
    forgetMissionDate(dataDirectory);  // the restored world stands at J2000.0 again
    return result;
}
