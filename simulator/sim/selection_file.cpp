// Reading and writing the one-name selection files the launcher hands to the simulator, and the
// check that keeps a selected name inside its folder.
#include "selection_file.h"

#include "text_file.h"

bool readSelectionFile(const std::string& path, std::string& firstLine, std::string* reason) {
    std::string contents;
    if (!readWholeFile(path, contents, reason)) return false;
    // Like reading one line into a 260-byte buffer: through the first "\n", at most 259 characters.
    size_t end = contents.find('\n');
    size_t length = end == std::string::npos ? contents.size() : end + 1;
    if (length > kMaxSelectionLineChars) length = kMaxSelectionLineChars;
    firstLine = std::string(stripLineEnd(std::string_view(contents).substr(0, length)));
    return true;
}

bool writeSelectionFile(const std::string& path, const std::string& name) {
    if (name.find_first_of("\r\n") != std::string::npos) return false;
    return writeFileAtomically(path, name + "\n-999\n");
}

bool isSafePathName(const std::string& name) {
    if (name.empty() || name.front() == '.') return false;
    for (char c : name) {
        auto u = static_cast<unsigned char>(c);
        if (c == '/' || c == '\\' || u < 0x20 || u == 0x7f) return false;
    }
    return true;
}
