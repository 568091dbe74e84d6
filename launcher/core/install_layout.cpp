// Finding the pristine data and the simulator from the launcher's own location.
#include "install_layout.h"

#include <cstdlib>
#include <string>
#include <system_error>
#include <vector>

#include "text_file.h"

namespace fs = std::filesystem;

namespace install_layout {

namespace {

bool holdsData(const fs::path& dir) {
    std::error_code ec;
    return fs::is_regular_file(dir / "configfile.cfg", ec);
}

// The first line of the build tree's marker, without its line end. Read like every data file, so
// that a directory, pipe or device in its place is refused at once.
std::optional<fs::path> sourceDataFromMarker(const fs::path& programDir) {
    std::string contents;
    if (!readWholeFile((programDir / kSourceDataMarker).string(), contents)) return std::nullopt;
    std::vector<TextLine> lines = splitLines(contents);
    if (lines.empty()) return std::nullopt;
    std::string& line = lines.front().text;
    while (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) return std::nullopt;
    return fs::path(line);
}

}  // namespace

fs::path executableDirectory() {
    std::error_code ec;
    fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (ec || self.empty()) return {};
    return self.parent_path();
}

std::optional<fs::path> pristineDataDirectory(const fs::path& programDir) {
    if (programDir.empty()) return std::nullopt;
    fs::path installed = (programDir / kInstalledDataFromBin).lexically_normal();
    if (holdsData(installed)) return installed;
    if (std::optional<fs::path> source = sourceDataFromMarker(programDir); source && holdsData(*source))
        return source->lexically_normal();
    return std::nullopt;
}

fs::path simulatorPath(const fs::path& programDir) {
    const char* named = std::getenv("CELESTRIX_SIMULATOR");
    if (named && *named) return fs::path(named);
    return programDir / kSimulatorName;
}

}  // namespace install_layout
