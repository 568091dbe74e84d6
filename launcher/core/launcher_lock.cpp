// flock on the launcher's lock file; the descriptor stays open so the lock lives with the process.
#include "launcher_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>

#include "data_directory_lock.h"

std::string launcherLockPath() {
    const char* dir = std::getenv("XDG_RUNTIME_DIR");
    std::string base = (dir && *dir) ? dir : "/tmp";
    return base + "/celestrix-launch-pad-" + std::to_string(getuid()) + ".lock";
}

bool acquireLauncherLock() {
    int fd = open(launcherLockPath().c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        return false;
    }
    return true;  // fd kept open on purpose
}

DataDirectoryLock& launcherDataDirectoryLock() {
    static DataDirectoryLock lock;
    return lock;
}
