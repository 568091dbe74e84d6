// The default-configuration restore: byte copies from the backup directory, each replacing its
// target atomically, stopping at the first failure.
#include "default_restore.h"

#include "mission_date.h"
#include "text_file.h"

namespace {

constexpr const char* kBackupDir = "Backup Default Config/";
constexpr const char* kDefaultConfiguration = "Configurations/Default Configuration.cfg";

bool copyFileAtomically(const std::string& from, const std::string& to) {
    std::string contents;
    if (!readWholeFile(from, contents)) return false;
    return writeFileAtomically(to, contents);
}

// An object name from the configuration must stay inside Objects/ and the backup directory.
bool isPlainFileName(const std::string& name) {
    return !name.empty() && name[0] != '.' && name.find('/') == std::string::npos &&
           name.find('\\') == std::string::npos;
}

}  // namespace

const std::vector<RestoreEntry>& defaultRestoreSystemFiles() {
    static const std::vector<RestoreEntry> entries = {
        {"time.cfg", "time.cfg"},
        {"configfile.cfg", "configfile.cfg"},
        {"Default Configuration.cfg", kDefaultConfiguration},
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
    DefaultRestoreResult result;
    const std::string backup = dataDirectory + kBackupDir;
    auto copy = [&](const std::string& sourceName, const std::string& target) {
        const std::string from = backup + sourceName, to = dataDirectory + target;
        if (!copyFileAtomically(from, to)) {
            result.failedSource = from;
            return false;
        }
        result.copiedTargets.push_back(to);
        return true;
    };
    for (const RestoreEntry& e : defaultRestoreSystemFiles())
        if (!copy(e.source, e.target)) return result;

    std::string contents;
    if (!readWholeFile(dataDirectory + kDefaultConfiguration, contents)) {
        result.failedSource = dataDirectory + kDefaultConfiguration;
        result.configurationUnreadable = true;
        return result;
    }
    for (const TextLine& line : splitLines(contents)) {
        if (line.text == "-999") break;
        if (!isPlainFileName(line.text)) {
            result.failedSource = backup + line.text;
            return result;
        }
        if (!copy(line.text, "Objects/" + line.text)) return result;
    }
    // The restored world stands at J2000.0 again.
    forgetMissionDate(dataDirectory);
    result.restored = true;
    return result;
}
