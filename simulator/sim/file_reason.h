// Why a file could not be processed, when the failing call's own error is no longer at hand:
// found by looking at the path as it stands now (missing, a directory, not readable or writable,
// a full disk).
#pragma once

#include <string>

// A short reason in the system's words ("No such file or directory", "No space left on device"),
// or a general one when nothing is visibly wrong.
std::string reasonForFailedFile(const std::string& path);
