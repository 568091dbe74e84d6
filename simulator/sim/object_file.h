// The object file: 61 numbered items of one star, planet or observer, read by position and written
// with the fixed layout of headers, section headings and separators. Labels are shared with the
// launcher, which finds item lines by their label text.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "sim_object.h"

constexpr int kObjectItemCount = 61;
constexpr int kMaxFileLines = 1000;  // item lines of an object file, entries of a configuration

// The label of Item k exactly as stored; the path items' labels already end in " = ".
const std::array<const char*, kObjectItemCount>& objectItemLabels();
// The float field of Item k, or null for the path, flag and integer items.
float* objectFloatItem(SimObject& obj, int item);
const float* objectFloatItem(const SimObject& obj, int item);
// True for Items 0, 15, 16, 23, whose labels carry the " = " themselves.
bool isPathItem(int item);

// Reads the object file at fullPath into obj: every item, Item 0 (data directory + value) into
// obj.ownPath, and obj.dataDirectory := dataDir. Comment lines ("#" first) are skipped, item lines
// are taken by position up to the first line whose leading integer is -999. A missing file, more
// than 1000 item lines, fewer than 61, an item line without "=" or a missing terminator fail with
// reason set (naming the line where there is one); obj is then left unchanged.
bool readObjectFile(SimObject& obj, const std::string& fullPath, const std::string& dataDir,
                    std::string* reason = nullptr);
// The same from the file's text already in memory (readers that also look at the text otherwise).
bool parseObjectFile(SimObject& obj, std::string_view contents, const std::string& dataDir,
                     std::string* reason = nullptr);

// The file text the writer produces for obj: header comments, the three sections with their "#"
// separators, all 61 items, "-999". Paths are written without the leading dataDir.
std::string formatObjectFile(const SimObject& obj, const std::string& dataDir);

// formatObjectFile(obj, dataDir), or nothing when a path item holds a line end (which would split
// its item line): such an object cannot be written.
std::optional<std::string> objectFileText(const SimObject& obj, const std::string& dataDir);

// Writes formatObjectFile(obj, dataDir) to obj.ownPath atomically. False on any failure, in which
// case the previous file is untouched.
bool writeObjectFile(const SimObject& obj, const std::string& dataDir);
