// Directory listings and deletions; failures are answered with false, never thrown.
#include "data_files.h"

#include <filesystem>
#include <system_error>

#include "natural_order.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> entries(const std::string& dir, bool filesOnly) {
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(dir, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (filesOnly && !it->is_regular_file(typeError)) continue;
        names.push_back(it->path().filename().string());
    }
    sortNaturally(names);
    return names;
}

bool removeEmptyDirectory(const std::string& dir) {
    std::error_code ec;
    return fs::is_directory(dir, ec) && fs::remove(dir, ec) && !ec;
}

}  // namespace

std::vector<std::string> directoryEntries(const std::string& dir) { return entries(dir, false); }
std::vector<std::string> fileEntries(const std::string& dir) { return entries(dir, true); }

std::string withoutExtension(const std::string& name) {
    size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string upToFirstDot(const std::string& name) { return name.substr(0, name.find('.')); }

bool isRegularFile(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

bool isDirectory(const std::string& path) {
    std::error_code ec;
    return fs::is_directory(path, ec);
}

bool deleteFile(const std::string& path) {
    std::error_code ec;
    if (fs::is_directory(fs::symlink_status(path, ec))) return false;
    fs::remove(path, ec);
    return !fs::exists(fs::symlink_status(path, ec));
}

bool deleteRecording(const std::string& dataDirectory, const std::string& title) {
    const std::string d = dataDirectory + "Recordings/" + title;
    deleteFile(d + "/" + title + ".vcr");
    deleteFile(d + "/" + title + ".vcx");  // the exact replay's side file, when the run wrote one
    deleteFile(d + "/configuration.cfg");
    for (int k = 1;; ++k) {
        const std::string sequence = d + "/Sequence" + std::to_string(k);
        if (!isDirectory(sequence)) break;
        for (const std::string& name : fileEntries(sequence)) deleteFile(sequence + "/" + name);
        deleteFile(sequence + "/last_view.cfg");
        deleteFile(sequence + "/time.cfg");
        if (!removeEmptyDirectory(sequence)) break;
    }
    return removeEmptyDirectory(d);
}

bool deleteScreenshotSet(const std::string& dataDirectory, const std::string& title) {
    const std::string dir = dataDirectory + "Screenshots/" + title;
    for (const std::string& name : fileEntries(dir))
        if (name.size() >= 4 && name.compare(name.size() - 4, 4, ".bmp") == 0)
            deleteFile(dir + "/" + name);
    return removeEmptyDirectory(dir);
}
