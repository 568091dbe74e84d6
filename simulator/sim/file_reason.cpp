// The checks behind reasonForFailedFile, each answered with the system's text for its error.
#include "file_reason.h"

#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

std::string parentOf(const std::string& path) {
    const size_t slash = path.find_last_of('/', path.size() > 1 ? path.size() - 2 : 0);
    return slash == std::string::npos ? "." : path.substr(0, slash + 1);
}

bool diskIsFull(const std::string& directory) {
    struct statvfs fs {};
    return ::statvfs(directory.c_str(), &fs) == 0 && (fs.f_bavail == 0 || fs.f_favail == 0);
}

}  // namespace

std::string reasonForFailedFile(const std::string& path) {
    struct stat st {};
    const std::string parent = parentOf(path);
    if (::stat(path.c_str(), &st) != 0) {
        const int statErrno = errno;
        if (statErrno != ENOENT) return std::strerror(statErrno);
        if (::access(parent.c_str(), F_OK) != 0) return std::strerror(ENOENT);
        if (::access(parent.c_str(), W_OK) != 0) return std::strerror(EACCES);
        if (diskIsFull(parent)) return std::strerror(ENOSPC);
        return std::strerror(ENOENT);
    }
    if (S_ISDIR(st.st_mode)) return std::strerror(EISDIR);
    if (!S_ISREG(st.st_mode)) return "not a regular file";
    if (::access(path.c_str(), R_OK) != 0) return std::strerror(errno);
    if (diskIsFull(parent)) return std::strerror(ENOSPC);
    if (::access(path.c_str(), W_OK) != 0 || ::access(parent.c_str(), W_OK) != 0) return std::strerror(EACCES);
    return "the file cannot be read or written as this program needs";
}
