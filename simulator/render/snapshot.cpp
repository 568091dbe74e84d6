// Snapshot numbering and storing.
#include "snapshot.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "bmp_file.h"

namespace fs = std::filesystem;

bool isSafeSnapshotTitle(const std::string& title) {
    if (title.empty() || title[0] == '.') return false;
    for (char c : title) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '/' || c == '\\' || u < 0x20 || u == 0x7F) return false;
    }
    return true;
}

namespace {

bool hasBmpExtension(const std::string& name) {
    if (name.size() < 4) return false;
    std::string ext = name.substr(name.size() - 4);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext == ".bmp";
}

size_t countBitmaps(const fs::path& folder) {
    size_t count = 0;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (hasBmpExtension(it->path().filename().string())) ++count;
    return count;
}

}  // namespace

SnapshotResult takeSnapshot(const std::string& dataDirectory, const std::string& title, const Image& frame) {
    SnapshotResult result;
    if (!isSafeSnapshotTitle(title)) {
        result.error = "unusable screenshot name \"" + title + "\"";
        return result;
    }
    if (frame.empty() || frame.rgba.size() != static_cast<size_t>(frame.width) * frame.height * 4) {
        result.error = "no frame to store";
        return result;
    }
    const fs::path root = fs::path(dataDirectory) / "Screenshots";
    const fs::path folder = root / title;
    std::error_code ec;
    fs::create_directory(root, ec);
    fs::create_directory(folder, ec);
    size_t n = countBitmaps(folder);
    // Written once under a temporary name, then linked to the first free number: link() never
    // replaces an existing file, so no snapshot is ever overwritten.
    const std::string temp = (folder / ("." + title + "_" + std::to_string(::getpid()) + ".tmp")).string();
    if (!writeBmp32(temp, frame)) {
        ::unlink(temp.c_str());
        result.error = "cannot write in " + folder.string();
        return result;
    }
    for (int attempt = 0; attempt < 100000; ++attempt, ++n) {
        const std::string path = (folder / (title + "_" + std::to_string(n) + ".bmp")).string();
        if (::link(temp.c_str(), path.c_str()) == 0) {
            result.written = true;
            result.path = path;
            break;
        }
        if (errno != EEXIST) {
            result.error = path + ": " + std::strerror(errno);
            break;
        }
    }
    ::unlink(temp.c_str());
    if (!result.written && result.error.empty()) result.error = "no free snapshot number";
    return result;
}
