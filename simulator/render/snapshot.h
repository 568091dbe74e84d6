// Snapshots (F7): the last presented frame stored as a BMP file under
// Screenshots/<title>/<title>_<n>.bmp in the data directory, never over an existing file.
#pragma once

#include <string>

#include "image.h"

struct SnapshotResult {
    bool written = false;
    std::string path;   // the file written
    std::string error;  // why nothing was written
};

// A title that can name a folder: not empty, no "/" or "\", no leading ".", no control characters.
bool isSafeSnapshotTitle(const std::string& title);

// Creates Screenshots/ and Screenshots/<title>/ (existing folders are fine), numbers the file by
// the count of *.bmp files already there, takes the next free number when that file exists, and
// writes `frame` as an uncompressed 32-bit BMP. The current directory is not changed.
SnapshotResult takeSnapshot(const std::string& dataDirectory, const std::string& title, const Image& frame);
