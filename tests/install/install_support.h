// Helpers of the installation tests: shell commands, snapshots of a file tree, PNG sizes, and the
// paths of the build that is installed.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "run_program.h"

namespace install_test {

inline const std::string kSourceDir = CELESTRIX_SOURCE_DIR;  // ends in "/"
inline const std::string kBinaryDir = CELESTRIX_BINARY_DIR;  // ends in "/"
inline const std::string kVersion = CELESTRIX_VERSION;
inline const std::string kAppId = "io.github.celestrix.Celestrix";
// The launcher is built beside the simulator once it exists.
inline constexpr bool kHasLauncher = CELESTRIX_HAS_LAUNCHER;

inline std::string quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// Runs a command line through /bin/sh in cwd (PATH finds the tools; 127: a tool is missing).
inline testrun::RunResult shell(const std::string& command, const std::string& cwd = "/tmp",
                                const std::vector<std::string>& env = {}) {
    return testrun::run("/bin/sh", {"-c", command}, cwd, env);
}

// Every file and folder under root with its type, size, mode and change time: two equal
// snapshots mean that nothing was written, created or removed in between.
inline std::map<std::string, std::string> snapshot(const std::string& root) {
    std::map<std::string, std::string> out;
    for (const auto& e : std::filesystem::recursive_directory_iterator(root)) {
        struct stat st {};
        if (::lstat(e.path().c_str(), &st) != 0) continue;
        std::ostringstream s;
        s << st.st_mode << ' ' << st.st_size << ' ' << st.st_mtim.tv_sec << '.' << st.st_mtim.tv_nsec << ' '
          << st.st_ctim.tv_sec << '.' << st.st_ctim.tv_nsec;
        out[std::filesystem::relative(e.path(), root).string()] = s.str();
    }
    return out;
}

// Relative paths of the regular files under root, sorted.
inline std::vector<std::string> filesUnder(const std::string& root) {
    std::vector<std::string> out;
    for (const auto& e : std::filesystem::recursive_directory_iterator(root))
        if (e.is_regular_file()) out.push_back(std::filesystem::relative(e.path(), root).string());
    std::sort(out.begin(), out.end());
    return out;
}

struct PngHeader {
    bool valid = false;
    uint32_t width = 0, height = 0;
    int colourType = -1;
};

// The size and colour type from a PNG file's signature and IHDR chunk.
inline PngHeader readPngHeader(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    unsigned char b[26] = {};
    PngHeader h;
    if (!in.read(reinterpret_cast<char*>(b), sizeof b)) return h;
    static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    if (!std::equal(b, b + 8, kSignature) || std::string(reinterpret_cast<char*>(b + 12), 4) != "IHDR") return h;
    auto be32 = [&](int at) {
        return (uint32_t(b[at]) << 24) | (uint32_t(b[at + 1]) << 16) | (uint32_t(b[at + 2]) << 8) | b[at + 3];
    };
    h.valid = true;
    h.width = be32(16);
    h.height = be32(20);
    h.colourType = b[25];
    return h;
}

inline std::string firstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

// Recursive copy, as the launcher's first start makes a user's data directory from the pristine
// data.
inline void copyTree(const std::string& from, const std::string& to) {
    std::filesystem::create_directories(to);
    std::filesystem::copy(from, to, std::filesystem::copy_options::recursive);
}

}  // namespace install_test
