// First-line reading through the simulator's selection-file reader, so both programs agree on
// what a selection file names.
#include "selection_line.h"

#include "selection_file.h"

std::optional<std::string> readSelectionLine(const std::string& path) {
    std::string line;
    if (!readSelectionFile(path, line)) return std::nullopt;
    return line;
}
