// Removal of the temporary files of killed runs, by name pattern and process liveness.
#include "stale_temp_files.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "selection_file.h"

namespace {

bool allDigits(const std::string& s) {
    if (s.empty() || s.size() > 9) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

bool processExists(long pid) { return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM; }

}  // namespace

long tempFileOwner(const std::string& name) {
    // ".<title>_<pid>.tmp" (screenshots)
    if (name.size() > 5 && name.front() == '.' && name.compare(name.size() - 4, 4, ".tmp") == 0) {
        size_t underscore = name.rfind('_');
        if (underscore == std::string::npos) return 0;
        std::string pid = name.substr(underscore + 1, name.size() - 4 - underscore - 1);
        return allDigits(pid) ? std::stol(pid) : 0;
    }
    // "<file>.tmp<pid>" and "<file>.tmp<pid>_<n>"
    size_t tmp = name.rfind(".tmp");
    if (tmp == std::string::npos || tmp == 0) return 0;
    std::string rest = name.substr(tmp + 4);
    size_t underscore = rest.find('_');
    std::string pid = rest.substr(0, underscore);
    if (!allDigits(pid)) return 0;
    if (underscore != std::string::npos && !allDigits(rest.substr(underscore + 1))) return 0;
    return std::stol(pid);
}

std::vector<std::string> removeStaleTempFiles(const std::vector<std::string>& directories) {
    std::vector<std::string> removed;
    for (const std::string& dir : directories) {
        std::error_code ec;
        for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
            const std::string name = it->path().filename().string();
            const long pid = tempFileOwner(name);
            if (pid <= 0 || pid == static_cast<long>(::getpid()) || processExists(pid)) continue;
            struct stat st {};
            const std::string path = it->path().string();
            if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
            if (::unlink(path.c_str()) == 0) removed.push_back(path);
        }
    }
    return removed;
}

std::vector<std::string> directoriesWrittenByRuns(const SimState& state) {
    const std::string& data = state.dataDirectory;
    std::vector<std::string> dirs = {data, data + "Objects/", data + "Configurations/"};
    if (isSafePathName(state.screenshotTitle)) dirs.push_back(data + "Screenshots/" + state.screenshotTitle + "/");
    if (isSafePathName(state.recordingTitle)) {
        const std::string recording = data + "Recordings/" + state.recordingTitle + "/";
        dirs.push_back(recording);
        std::error_code ec;
        for (std::filesystem::directory_iterator it(recording, ec), end; !ec && it != end; it.increment(ec))
            if (it->is_directory(ec) && !it->is_symlink(ec)) dirs.push_back(it->path().string() + "/");
    }
    return dirs;
}
