// The simulator's fatal exits: a message (standard error always, a box where a display exists)
// and exit code 255. Only the program's edge calls these; libraries return errors as values.
#pragma once

#include <string>

constexpr int kFatalExitCode = 255;

// "Could not process file " + path, then the reason on a line of its own (when none is given, it
// is found by looking at the path); caption "File error"; ends the process.
[[noreturn]] void fatalFileError(const std::string& path, const std::string& reason = {});
// Any other fatal message box (caption, text); ends the process.
[[noreturn]] void fatalError(const std::string& caption, const std::string& text);
