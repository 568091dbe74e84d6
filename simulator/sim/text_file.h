// Whole-file text access for the data files: read a file once into memory, split it into lines,
// and replace a file atomically (temporary file in the same directory, then rename).
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Reads the whole file as bytes. False if it cannot be opened or read (a directory fails too).
bool readWholeFile(const std::string& path, std::string& contents);

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
