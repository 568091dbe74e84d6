// The simulator's default-configuration restore.
#include "default_restore.h"

#include "mission_date.h"
#include "text_file.h"

namespace {

std::vector<std::string> namesUpToEndLine(const std::string& text) {
    std::vector<std::string> names;
    for (TextLine& line : splitLines(text)) {
        if (line.text == "-999") break;
        names.push_back(std::move(line.text));
    }
    return names;
}

}  // namespace

const std::vector<RestoreEntry>& defaultRestoreSystemFiles() {
    static const std::vector<RestoreEntry> entries = {
        {"time.cfg", "time.cfg"},
        {"configfile.cfg", "configfile.cfg"},
        {"Default Configuration.cfg", "Configurations/Default Configuration.cfg"},
        {"screenshotfile.cfg", "screenshotfile.cfg"},
        {"moviefile.cfg", "moviefile.cfg"},
        {"guispecs.cfg", "guispecs.cfg"},
        {"vcrspecs.cfg", "vcrspecs.cfg"},
        {"CfgTemplate.cfg", "CfgTemplate.cfg"},
        {"last_view.cfg", "last_view.cfg"},
    };
    return entries;
}

DefaultRestoreResult restoreDefaultConfiguration(const std::string& dataDirectory) {
    DefaultRestoreResult result = restoreFromBackup(dataDirectory, defaultRestoreSystemFiles(), namesUpToEndLine);
    // The restored world stands at J2000.0 again.
    if (result.restored) forgetMissionDate(dataDirectory);
    return result;
}
