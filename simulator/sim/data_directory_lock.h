// One writer per data directory: an advisory lock on a file of its own inside the data directory,
// so that it holds across sessions, users and runtime directories (the single-instance locks of
// the programs live in each user's runtime directory and cannot see each other there). The
// simulator holds it for its whole run, the launcher whenever it is not waiting for a simulator.
#pragma once

#include <string>

// Data-directory-relative name of the lock file.
inline constexpr const char* kDataDirectoryLockName = "data_directory.lock";

class DataDirectoryLock {
public:
    enum class Result {
        Acquired,
        HeldElsewhere,  // another process holds it
        Unavailable     // the lock file cannot be opened or locked (error says why)
    };

    DataDirectoryLock() = default;
    ~DataDirectoryLock() { release(); }
    DataDirectoryLock(const DataDirectoryLock&) = delete;
    DataDirectoryLock& operator=(const DataDirectoryLock&) = delete;

    // Tries once, without waiting. The descriptor is closed on exec, so a child never inherits it.
    Result acquire(const std::string& dataDirectory, std::string* error = nullptr);
    void release();
    bool held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

// The message for a data directory in use by another program.
std::string dataDirectoryInUseMessage(const std::string& dataDirectory);
