// flock on "<data directory>/data_directory.lock".
#include "data_directory_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

DataDirectoryLock::Result DataDirectoryLock::acquire(const std::string& dataDirectory, std::string* error) {
    if (held()) return Result::Acquired;
    std::string dir = dataDirectory;
    if (!dir.empty() && dir.back() != '/') dir += '/';
    const std::string path = dir + kDataDirectoryLockName;
    // O_NOFOLLOW and O_NONBLOCK: a link or a pipe planted in the lock's place is not followed or
    // waited on. 0666 (less the umask): users who share a data directory share its lock.
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0666);
    // A lock file that may only be read locks as well (flock needs no write access).
    if (fd < 0 && (errno == EACCES || errno == EROFS))
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) {
        if (error) *error = "cannot open the lock file " + path + " (" + std::strerror(errno) + ")";
        return Result::Unavailable;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int flockErrno = errno;
        ::close(fd);
        if (flockErrno == EWOULDBLOCK) return Result::HeldElsewhere;
        if (error) *error = "cannot lock the lock file " + path + " (" + std::strerror(flockErrno) + ")";
        return Result::Unavailable;
    }
    fd_ = fd;
    return Result::Acquired;
}

void DataDirectoryLock::release() {
    if (fd_ < 0) return;
    ::flock(fd_, LOCK_UN);
    ::close(fd_);
    fd_ = -1;
}

std::string dataDirectoryInUseMessage(const std::string& dataDirectory) {
    return "Another Celestrix program is using the data directory " + dataDirectory +
           ". Only one simulator at a time may run on a data directory.";
}
