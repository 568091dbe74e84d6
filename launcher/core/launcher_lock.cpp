// flock on the launcher's lock file; the descriptor stays open so the lock lives with the process.
#include "launcher_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "data_directory_lock.h"

std::string launcherLockPath() {
    const char* dir = std::getenv("XDG_RUNTIME_DIR");
    std::string base = (dir && *dir) ? dir : "/tmp";
    return base + "/celestrix-launch-pad-" + std::to_string(getuid()) + ".lock";
}

LauncherLock acquireLauncherLock() {
    const std::string path = launcherLockPath();
    LauncherLock lock;
    // O_NOFOLLOW: a link planted at the path is refused; O_NONBLOCK: a pipe there cannot hang us.
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
    if (fd < 0) {
        lock.failure = "Could not open the lock file " + path + ": " + std::strerror(errno) + ".";
        return lock;
    }
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        lock.failure = "Could not open the lock file " + path + ": it is not a regular file.";
        return lock;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        close(fd);
        if (error == EWOULDBLOCK) {
            lock.outcome = LockOutcome::HeldByAnother;
        } else {
            lock.failure = "Could not lock the file " + path + ": " + std::strerror(error) + ".";
        }
        return lock;
    }
    lock.outcome = LockOutcome::Acquired;
    return lock;  // fd kept open on purpose
}

DataDirectoryLock& launcherDataDirectoryLock() {
    static DataDirectoryLock lock;
    return lock;
}
