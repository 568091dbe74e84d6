// Where the launcher finds what it never writes: the pristine data that a new data directory is
// copied from, and the simulator. Both are found from the launcher's own executable, so that the
// same program works from the build tree and from an installed (or unpacked) tree.
#pragma once

#include <filesystem>
#include <optional>

namespace install_layout {

// The pristine data of an installed tree, relative to the folder of its programs
// (PREFIX/bin and PREFIX/share/celestrix).
inline constexpr const char* kInstalledDataFromBin = "../share/celestrix";

// The file beside the programs of a build tree that names the source tree's data/ folder. The
// build writes it; it is never installed.
inline constexpr const char* kSourceDataMarker = "celestrix-source-data.txt";

// The simulator's file name; it is built and installed beside the launcher.
inline constexpr const char* kSimulatorName = "corvane";

// The folder of the running executable; empty when the system cannot tell.
std::filesystem::path executableDirectory();

// The pristine data directory for programs in programDir: the installed share/celestrix when it
// exists, else the source tree's data/ that a build tree's marker names. A candidate counts only
// when it holds configfile.cfg. Nothing when neither does.
std::optional<std::filesystem::path> pristineDataDirectory(const std::filesystem::path& programDir);

// The simulator to start: $CELESTRIX_SIMULATOR when it is set and not empty, else corvane in
// programDir.
std::filesystem::path simulatorPath(const std::filesystem::path& programDir);

}  // namespace install_layout
