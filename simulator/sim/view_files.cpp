// Reading and writing last_view.cfg and time.cfg. Numbers are read like scanf's %f (leading white
// space skipped, decimal numbers only) and written with the object files' six-digit format.
#include "view_files.h"

#include <cctype>
#include <string_view>

#include "float_format.h"
#include "text_file.h"

namespace {

// "line N: " for the line of contents that holds position pos.
std::string lineAt(std::string_view contents, size_t pos) {
    size_t line = 1;
    for (size_t i = 0; i < pos && i < contents.size(); ++i)
        if (contents[i] == '\n') ++line;
    return "line " + std::to_string(line) + ": ";
}

}  // namespace

bool readLastView(const std::string& path, Mat4f& m, std::string* reason) {
    std::string contents;
    std::string readReason;
    if (!readWholeFile(path, contents, &readReason)) {
        // Only a missing file means "no view stored"; anything else in its place is an error.
        if (reason && readReason != kMissingFileReason) *reason = readReason;
        return false;
    }
    std::string_view rest = contents;
    Mat4f result;
    for (int k = 0; k < 16; ++k) {
        if (!leadingFloatIsFinite(rest)) {
            size_t at = contents.size() - rest.size();
            while (at < contents.size() && std::isspace(static_cast<unsigned char>(contents[at]))) ++at;
            if (reason) *reason = lineAt(contents, at) + "not a finite number";
            return false;
        }
        size_t consumed = 0;
        float value = parseLeadingFloat(rest, &consumed);
        if (consumed == 0) return false;
        result.m[k / 4][k % 4] = value;
        rest.remove_prefix(consumed);
    }
    m = result;
    return true;
}

std::string formatLastView(const Mat4f& m) {
    std::string out;
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 4; ++col) {
            if (col > 0) out += ' ';
            out += formatFloat(m.m[row][col]);
        }
        out += '\n';
    }
    return out;
}

bool writeLastView(const std::string& path, const Mat4f& m) {
    return writeFileAtomically(path, formatLastView(m));
}

bool readTimeFile(const std::string& path, float& t, std::string* reason) {
    std::string contents;
    if (!readWholeFile(path, contents, reason)) return false;
    if (!leadingFloatIsFinite(contents)) {
        if (reason) *reason = "line 1: the mission time is not a finite number";
        return false;
    }
    t = parseLeadingFloat(contents);
    return true;
}

bool writeTimeFile(const std::string& path, float t) {
    return writeFileAtomically(path, formatFloat(t));
}
