// The selection files (configfile.cfg, moviefile.cfg, screenshotfile.cfg): a name on the first
// line, "-999" on the second. Also the check that a selected name is safe to build a path from.
#pragma once

#include <string>

constexpr size_t kMaxSelectionLineChars = 259;

// Reads the first line, at most 259 characters, without its trailing "\n" and a "\r" before it.
// False only if the file cannot be opened or read; an empty file gives an empty name.
bool readSelectionFile(const std::string& path, std::string& firstLine, std::string* reason = nullptr);

// Writes name + "\n-999\n" atomically. False on failure or when name holds a line end.
bool writeSelectionFile(const std::string& path, const std::string& name);

// A name that becomes one component of a path: not empty, no "/" or "\\", not starting with ".",
// no control characters. Anything else could name a file outside its folder.
bool isSafePathName(const std::string& name);
