// Listing and deleting in the data directory for the configuration manager: directory entries in
// natural order (Asteroid_2 before Asteroid_10), and the deletion of configurations, object files, recordings and
// screenshot sets. Names are checked by the caller (isSafePathName) before they reach these.
#pragma once

#include <string>
#include <vector>

// Names of the entries of dir other than "." and "..", in natural order; empty when dir cannot be
// read.
std::vector<std::string> directoryEntries(const std::string& dir);
// Only the entries that are regular files.
std::vector<std::string> fileEntries(const std::string& dir);

// name with the part from its last "." on removed ("Default Configuration.cfg" -> "Default
// Configuration"); a name without "." stays whole.
std::string withoutExtension(const std::string& name);
// name up to its first "." ("Mars.v2.cfg" -> "Mars").
std::string upToFirstDot(const std::string& name);

bool isRegularFile(const std::string& path);
bool isDirectory(const std::string& path);

// Deletes one file; true only when it is gone.
bool deleteFile(const std::string& path);

// Deletes the recording title below dataDirectory + "Recordings/": the .vcr file, its
// configuration.cfg, then Sequence1, Sequence2, ... with their files while they exist and can be
// removed, then the recording's directory. True only when that directory was removed.
bool deleteRecording(const std::string& dataDirectory, const std::string& title);

// Deletes the "*.bmp" files of dataDirectory + "Screenshots/" + title, then that directory. True
// only when the directory was removed (any other file in it keeps it).
bool deleteScreenshotSet(const std::string& dataDirectory, const std::string& title);
