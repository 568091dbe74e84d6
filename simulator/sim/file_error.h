// The failure of a data file as the readers and writers report it: the full path as built and a
// reason for the log. Only the program's edge turns it into the fixed "Could not process file" text.
#pragma once

#include <string>

// The reason given when a file cannot be opened or read at all.
inline constexpr const char* kUnreadableFileReason = "the file cannot be opened or read";

struct FileError {
    std::string path;    // full path as built (data directory + relative name)
    std::string reason;  // what went wrong, for standard error; never shown in the message box
};
