// flock-based single-instance lock; the descriptor stays open for the life of the process.
#include "instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>

std::string instanceLockPath(const std::string& name) {
    const char* dir = std::getenv("XDG_RUNTIME_DIR");
    std::string base = (dir && *dir) ? dir : "/tmp";
    return base + "/" + name + "-" + std::to_string(getuid()) + ".lock";
}

bool acquireInstanceLock(const std::string& name) {
    int fd = open(instanceLockPath(name).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        return false;
    }
    return true;  // fd intentionally kept open: the lock lives until the process ends
}
