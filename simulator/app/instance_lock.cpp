// flock-based single-instance lock; the descriptor stays open for the life of the process.
#include "instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "data_directory_lock.h"

std::string instanceLockPath(const std::string& name) {
    const char* dir = std::getenv("XDG_RUNTIME_DIR");
    std::string base = (dir && *dir) ? dir : "/tmp";
    return base + "/" + name + "-" + std::to_string(getuid()) + ".lock";
}

namespace {
int gLockFd = -1;
DataDirectoryLock gDataDirectoryLock;
}  // namespace

bool acquireInstanceLock(const std::string& name, std::string* error) {
    const std::string path = instanceLockPath(name);
    // O_NOFOLLOW and O_NONBLOCK: a link or a pipe planted in the lock's place is not followed
    // or waited on.
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
    if (fd < 0) {
        if (error) *error = "Corvane cannot create its lock file " + path + " (" + std::strerror(errno) + ").";
        return false;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int flockErrno = errno;
        close(fd);
        if (error) {
            error->clear();
            if (flockErrno != EWOULDBLOCK)
                *error = "Corvane cannot lock its lock file " + path + " (" + std::strerror(flockErrno) + ").";
        }
        return false;
    }
    gLockFd = fd;  // kept open: the lock lives until the process ends or gives it up
    return true;
}

bool acquireDataDirectoryLock(const std::string& dataDirectory, std::string& message) {
    std::string error;
    switch (gDataDirectoryLock.acquire(dataDirectory, &error)) {
        case DataDirectoryLock::Result::Acquired:
            message.clear();
            return true;
        case DataDirectoryLock::Result::HeldElsewhere:
            message = dataDirectoryInUseMessage(dataDirectory);
            return false;
        case DataDirectoryLock::Result::Unavailable:
            break;
    }
    message = "the data directory is not locked against other simulators: " + error;
    return true;
}

void releaseInstanceLock() {
    gDataDirectoryLock.release();
    if (gLockFd < 0) return;
    // Unlocking the open file description releases it for every process that shares it too.
    flock(gLockFd, LOCK_UN);
    close(gLockFd);
    gLockFd = -1;
}
