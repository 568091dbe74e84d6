// Data directory resolution and the first-run copy.
#include "data_directory.h"
#include "install_layout.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

}  // namespace

std::string resolveDataDirectory(const std::optional<std::string>& commandLineDir) {
    if (commandLineDir && !commandLineDir->empty()) return *commandLineDir;
    if (std::string dir = environment("CELESTRIX_DATA_DIR"); !dir.empty()) return dir;
    std::error_code ec;
    const fs::path here = fs::current_path(ec);
    // The pristine data that ships with the program is never used as a working directory.
    if (fs::is_regular_file(here / "configfile.cfg", ec) &&
        !fs::equivalent(here, pristineDataDirectory(), ec))
        return here.string();
    std::string base = environment("XDG_DATA_HOME");
    if (base.empty()) base = environment("HOME") + "/.local/share";
    return base + "/celestrix";
}

std::string pristineDataDirectory() {
    if (std::string dir = environment("CELESTRIX_PRISTINE_DATA"); !dir.empty()) return dir;
    // Installed: PREFIX/share/celestrix beside PREFIX/bin; built: the data/ the build tree names.
    if (auto found = install_layout::pristineDataDirectory(install_layout::executableDirectory()))
        return found->string() + "/";
    return CELESTRIX_PRISTINE_DATA;
}

bool prepareDataDirectory(const std::string& dir, const std::string& pristine, std::string& error) {
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (!fs::is_directory(dir, ec)) {
        error = "cannot create the data directory " + dir;
        return false;
    }
    if (fs::exists(fs::path(dir) / "configfile.cfg", ec)) return true;
    if (!fs::is_regular_file(fs::path(pristine) / "configfile.cfg", ec)) {
        error = "the pristine data directory " + pristine + " is missing";
        return false;
    }
    // skip_existing: a user's file of the same name is never replaced.
    fs::copy(pristine, dir, fs::copy_options::recursive | fs::copy_options::skip_existing, ec);
    if (ec) {
        error = "cannot copy " + pristine + " into " + dir + ": " + ec.message();
        return false;
    }
    return true;
}
