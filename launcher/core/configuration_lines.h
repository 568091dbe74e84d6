// The object file names a configuration file lists, as the configuration manager loads them.
#pragma once

#include <optional>
#include <string>
#include <vector>

// The lines, without their line ends, before the first line whose integer value is -999 (or the
// end of the file). nullopt when the file cannot be read.
std::optional<std::vector<std::string>> readConfigurationLines(const std::string& path);

// True for the end marker: a line whose integer value (leading blanks, sign, digits) is -999.
bool isEndMarkerLine(const std::string& line);
