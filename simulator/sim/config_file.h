// The configuration file: the ordered object file names of one star system, one per line, ended
// by a line whose leading integer is -999. Positions in this list are the numbers Item 8 uses.
#pragma once

#include <string>
#include <vector>

// Every line before the terminator is an entry (its "\n" and a "\r" before it removed). Fails for a
// missing file, more than 1000 entries, or a file without a terminator line (like an object file,
// a cut-off configuration is refused rather than guessed at); entries are then left unchanged.
bool readConfigurationFile(const std::string& path, std::vector<std::string>& entries,
                           std::string* reason = nullptr);

// Writes the entries and "-999", each on its own line, atomically.
bool writeConfigurationFile(const std::string& path, const std::vector<std::string>& entries);
