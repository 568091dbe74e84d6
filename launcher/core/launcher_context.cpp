// Filling the launcher context from the current directory and the running program's location.
#include "launcher_context.h"
#include "install_layout.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

std::string currentDataDirectory() {
    std::error_code ec;
    std::string dir = fs::current_path(ec).string();
    for (char& c : dir)
        if (c == '\\') c = '/';
    if (dir.empty() || dir.back() != '/') dir += '/';
    return dir;
}

std::string simulatorProgramPath() {
    return install_layout::simulatorPath(install_layout::executableDirectory()).string();
}

void createDataSubdirectories(const std::string& dataDirectory) {
    // Only a data directory gets them: a message shown before the launcher has entered its data
    // directory (a second start's "already running") must leave the current directory alone.
    std::error_code marker;
    if (!fs::is_regular_file(dataDirectory + "configfile.cfg", marker)) return;
    for (const char* name : {"Recordings", "Objects", "Screenshots", "Configurations"}) {
        std::error_code ec;
        fs::create_directories(dataDirectory + name, ec);
    }
}

CLauncherContext::CLauncherContext()
    : dataDirectory(currentDataDirectory()),
      cfgManagerHelp(dataDirectory + "Help/HTML/" + "tutorial_cfgmgr.html"),
      cfgObjectHelp(dataDirectory + "Help/HTML/" + "tutorial_cfgobject.html"),
      specOrbitHelp(dataDirectory + "Help/HTML/" + "tutorial_specorbit.html"),
      launchPadHelp(dataDirectory + "Help/HTML/" + "tutorial.html"),
      simulatorProgram(simulatorProgramPath()) {
    createDataSubdirectories(dataDirectory);
}
