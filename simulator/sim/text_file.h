// Whole-file text access for the data files: read a file once into memory, split it into lines,
// and replace a file atomically (temporary file in the same directory, then rename).
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

// The largest file any data-file reader takes in: far above any real file, so that a crafted or
// runaway file cannot exhaust memory.
inline constexpr size_t kMaxDataFileBytes = size_t{256} << 20;

// Reasons readWholeFile gives.
inline constexpr const char* kMissingFileReason = "the file is missing";
inline constexpr const char* kNotRegularFileReason =
    "the path is not a regular file (a directory, pipe or device, or a link to one)";

// Reads the whole file as bytes. False if it cannot be opened or read, if it is not a regular file
// (directory, FIFO, device, or a link to one: refused at once, so a pipe never blocks and a device
// is never read without end) or if it holds more than maxBytes; reason (if given) says which.
bool readWholeFile(const std::string& path, std::string& contents, std::string* reason = nullptr,
                   size_t maxBytes = kMaxDataFileBytes);

// One line of a file as read: its text without the line end, and whether a "\n" ended it.
struct TextLine {
    std::string text;
    bool hadLineEnd = false;
};

// Splits at "\n"; a last piece without "\n" is a line too, an empty tail is not. The "\n" and one
// "\r" before it are removed, so a Windows line end never becomes part of a value.
std::vector<TextLine> splitLines(std::string_view contents);

// Strips a trailing "\n" and one "\r" before it, nothing else.
std::string_view stripLineEnd(std::string_view line);

// Writes contents to a temporary file beside path, flushes it to disk and renames it over path, so
// that a failure at any point leaves the previous file (or no file) in place. False on any failure;
// the temporary file is then removed.
bool writeFileAtomically(const std::string& path, std::string_view contents);

// Opens path for writing as a stream, truncated or appended to, never through a symbolic link
// (a link planted in its place makes the open fail) and never blocking on a pipe. Null on failure,
// with errno set.
std::FILE* openOutputFile(const std::string& path, bool append);

// One file of a batch: where it goes and what it holds.
struct FileToWrite {
    std::string path;
    std::string contents;
};

// Writes the files in order, each as writeFileAtomically does (temporary file, flushed, renamed
// over the target), but with the waits for the disk batched: every temporary file is written
// first, then all are flushed, then renamed in order, then each directory is flushed once.
// Returns the index of the first file that could not be written, or files.size() when all were:
// the files before it are written and durable, it and every file after it keep their previous
// contents, and no temporary file is left behind. (Renames run 64 at a time in parallel: should a
// rename itself fail, later files of its group of 64 may already be replaced, each one whole.)
size_t writeFilesAtomically(const std::vector<FileToWrite>& files);
