// Reading a recording file (Recordings/<title>/<title>.vcr) into the replay tables: per frame the
// frame time and control word, per sequence its first frame and snapshot directory.
#pragma once

#include <string>
#include <vector>

#include "replay_tables.h"

// All lines of the file, each without its "\n" and a "\r" before it. False if it cannot be read.
bool readRecordingLines(const std::string& path, std::vector<std::string>& lines, std::string* reason = nullptr);

// Builds the replay tables from the lines. A "begin_sequence" line opens a sequence whose snapshot
// directory is dataDir + the next line and whose frames start with the line after that; frame lines
// are "<time>:<word>" up to "end_sequence". firstSnapshotDirRelative receives the line after the
// first "begin_sequence". Refused (false, reason set, tables unchanged): no "begin_sequence", one
// without a directory line and a line after it, no frame line, a frame line without ":".
bool parseRecording(const std::vector<std::string>& lines, const std::string& dataDir,
                    ReplayTables& tables, std::string& firstSnapshotDirRelative,
                    std::string* reason = nullptr);
