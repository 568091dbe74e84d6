// CLauncherContext: what every launcher dialog knows about its installation. Filled when the
// dialog is constructed, from the process's current directory, which is the data directory.
#pragma once

#include <string>

class CLauncherContext {
public:
    CLauncherContext();

    static constexpr int kObjectLimit = 1000;  // most objects a live start accepts

    int objectLimit = kObjectLimit;
    std::string dataDirectory;    // "/" separators, ends in "/"
    std::string cfgManagerHelp;   // help page of the configuration manager
    std::string cfgObjectHelp;    // help page of the object wizard
    std::string specOrbitHelp;    // help page of the orbit dialog
    std::string launchPadHelp;    // help page of the launch pad
    std::string simulatorProgram; // corvane, beside the launcher unless CELESTRIX_SIMULATOR names it
    std::string simulatorArgument;  // data directory + "|" + mode digit, built before a launch
};

// The current directory with "\" turned into "/" and a final "/".
std::string currentDataDirectory();

// The simulator to start: $CELESTRIX_SIMULATOR when set, else "corvane" in the directory of the
// running program.
std::string simulatorProgramPath();

// Creates Recordings, Objects, Screenshots and Configurations below dataDirectory where missing,
// when it is a data directory (it holds configfile.cfg); a failure is ignored, as a later file
// access reports it.
void createDataSubdirectories(const std::string& dataDirectory);
