// Where a fuzz input is put for readers that take a path.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The path of an in-memory file (memfd, reached through /proc/self/fd) that holds exactly the
// input: a regular file to every check, never on disk. Each call replaces the previous input.
std::string asFile(const uint8_t* data, size_t size);

// A directory of this process's own (made once, removed at exit) for readers that need a real
// directory around their file: writers that put a temporary file beside it, or lists of files
// named relative to a data directory. Ends with "/".
const std::string& scratchDirectory();

// Replaces the file at path (inside scratchDirectory()) with the input.
void putFile(const std::string& path, const uint8_t* data, size_t size);
