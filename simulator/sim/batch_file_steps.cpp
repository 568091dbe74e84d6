// POSIX steps of batched file replacement; every failure keeps its errno for the caller's report.
#include "batch_file_steps.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {

bool writeAll(int fd, std::string_view contents) {
    while (!contents.empty()) {
        ssize_t n = ::write(fd, contents.data(), contents.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        contents.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

}  // namespace

int writeTemporaryFile(const std::string& path, std::string_view contents, std::string& tempPath) {
    if (path.empty() || path.back() == '/') {
        errno = EISDIR;
        return -1;
    }
    // A file that exists but may not be written stays as it is, as truncating it in place would;
    // a directory in the file's place is seen here, before anything is renamed.
    if (::access(path.c_str(), F_OK) == 0 && ::access(path.c_str(), W_OK) != 0) return -1;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
        errno = EISDIR;
        return -1;
    }
    static std::atomic<unsigned> counter{0};
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        tempPath = path + ".tmp" + std::to_string(::getpid()) + "_" + std::to_string(counter++);
        fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) return -1;
    }
    if (fd < 0) return -1;
    if (!writeAll(fd, contents)) {
        const int writeErrno = errno;
        ::close(fd);
        ::unlink(tempPath.c_str());
        errno = writeErrno;
        return -1;
    }
    return fd;
}

std::string directoryOf(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash + 1);
}

bool renameOver(const std::string& tempPath, const std::string& path) {
    const int replaced = ::open(path.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
    const bool ok = ::rename(tempPath.c_str(), path.c_str()) == 0;
    const int renameErrno = errno;
    if (replaced >= 0) ::close(replaced);
    errno = renameErrno;
    return ok;
}

BatchDirectories::BatchDirectories(const std::vector<FileToWrite>& files) {
    for (const FileToWrite& f : files) add(directoryOf(f.path));
}

BatchDirectories::BatchDirectories(const std::vector<std::string>& directories) {
    for (const std::string& d : directories) add(d);
}

void BatchDirectories::add(const std::string& dir) {
    if (std::find(paths_.begin(), paths_.end(), dir) != paths_.end()) return;
    paths_.push_back(dir);
    fds_.push_back(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

BatchDirectories::~BatchDirectories() {
    for (int fd : fds_)
        if (fd >= 0) ::close(fd);
}

bool BatchDirectories::flushFileSystems() const {
    std::vector<dev_t> flushed;
    for (int fd : fds_) {
        struct stat st {};
        if (fd < 0) {
            errno = ENOENT;
            return false;
        }
        if (::fstat(fd, &st) != 0) return false;
        if (std::find(flushed.begin(), flushed.end(), st.st_dev) != flushed.end()) continue;
        flushed.push_back(st.st_dev);
        if (::syncfs(fd) != 0) return false;
    }
    return true;
}

void BatchDirectories::flushDirectories() const {
    for (int fd : fds_)
        if (fd >= 0) ::fsync(fd);
}
