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
