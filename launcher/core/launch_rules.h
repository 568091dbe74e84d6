// The launch pad's rules: the OpenGL probe's answer, the simulator's argument, and the size of
// the configuration a live start would load.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// OpenGL 3.3 in the probe's encoding, (major << 16) | (minor << 8): the least the simulator needs.
constexpr int kRequiredOpenGlCode = 0x30300;

// The code `corvane --probe` printed (hexadecimal, "0x" optional). nullopt for no valid code:
// empty or malformed output, or 0 (no context could be made).
std::optional<int> parseProbeCode(std::string_view output);

bool isOpenGlSufficient(std::optional<int> code);

// "\n\nOpenGL X.Y is installed." for a valid code, else "\n\nUnable to determine OpenGL version."
std::string openGlVersionSentence(std::optional<int> code);

// The simulator's second argument: the data directory (ending in "/"), "|" and the mode digit.
constexpr char kLiveMode = '1';
constexpr char kReplayMode = '0';
std::string simulatorArgument(const std::string& dataDirectory, char mode);

// Lines of a configuration file before the first line whose integer value is -999 (or the end);
// counting stops once the count exceeds limit. nullopt when the file cannot be read.
std::optional<int> countConfigurationEntries(const std::string& path, int limit);

// True when path names an existing file or directory.
bool pathExists(const std::string& path);
