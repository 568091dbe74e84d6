// Where the launcher's data directory is, and its first-run preparation from the pristine data
// that comes with the program.
#pragma once

#include <optional>
#include <string>

// The data directory to use: commandLineDir (--data-dir) if given, else $CELESTRIX_DATA_DIR, else
// the current directory when it holds configfile.cfg (and is not the pristine data), else $XDG_DATA_HOME/celestrix (default
// ~/.local/share/celestrix). Returned as given, not yet made absolute.
std::string resolveDataDirectory(const std::optional<std::string>& commandLineDir);

// The pristine data directory: $CELESTRIX_PRISTINE_DATA, else the data/ of the source tree the
// program was built from.
std::string pristineDataDirectory();

// Makes dir ready to use: creates it, and when it holds no configfile.cfg, copies the pristine
// data into it without overwriting any file already there. False with a reason when the directory
// cannot be made or the copy fails.
bool prepareDataDirectory(const std::string& dir, const std::string& pristine, std::string& error);
