// The first line of a selection file (configfile.cfg, moviefile.cfg, screenshotfile.cfg) or of a
// configuration file: the name the launcher and the simulator share.
#pragma once

#include <optional>
#include <string>

// The first line, at most 259 characters, without its line end; a last line without a line end
// still yields the whole name. nullopt when the file cannot be opened or read.
std::optional<std::string> readSelectionLine(const std::string& path);
