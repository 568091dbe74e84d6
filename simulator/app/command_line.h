// The simulator's command line: options of its own, then one argument "DATADIR|MODE".
#pragma once

#include <optional>
#include <string>
#include <vector>

// What an exported frame shows besides the scene: everything, everything but the on-screen
// controls, or the scene alone.
enum class ExportOverlays { All, Hud, None };

struct CommandLine {
    // The one argument: data directory (ends in "/") and run mode (non-zero = live).
    std::string dataDirectory;
    int runMode = 1;

    bool windowed = false;
    int width = 0, height = 0;  // 0: the screen size
    bool headless = false;
    bool noRender = false;
    long long frameLimit = -1;  // close after this many advanced frames; -1: no limit
    double fixedDtS = 0;        // 0: the clock's elapsed time
    std::string inputPath;      // scripted input
    std::string tracePath;      // CSV trace of every object's state
    std::string exportDir;      // drawn frames go here as PNG pictures
    long long exportEvery = 1;  // every K-th advanced frame is exported
    ExportOverlays exportOverlays = ExportOverlays::All;
    int uiScale = 0;            // 1, 2 or 3; 0: chosen by the back buffer's width
    bool probe = false;         // print the OpenGL version code and exit
    bool help = false;          // print the help text and exit
    bool version = false;       // print the version and exit
};

// Parses argv[1..]; on failure returns nothing and sets error to a message for the user.
std::optional<CommandLine> parseCommandLine(const std::vector<std::string>& args, std::string& error);

// Splits "DATADIR|MODE[|ignored]". Returns false when the data directory or the mode is missing
// or the mode is not a decimal integer.
bool splitDataArgument(const std::string& arg, std::string& dataDirectory, int& runMode);

// The usage lines (after an error), the help text and the version text; they come from the
// same source as the manual page.
const char* commandLineUsage();
const char* commandLineHelp();
const char* commandLineVersion();
