// Whole-file reading, line splitting and atomic replacement of data files. POSIX calls are used
// so that every failure (a directory, a full disk, a failed rename) is seen and reported.
#include "text_file.h"

#include "batch_file_steps.h"
#include "file_error.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

bool readWholeFile(const std::string& path, std::string& contents, std::string* reason, size_t maxBytes) {
    auto fail = [&](const char* why) {
        if (reason) *reason = why;
        return false;
    };
    // O_NONBLOCK: opening a FIFO must not wait for a writer; regular files ignore the flag.
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return fail(errno == ENOENT ? kMissingFileReason : kUnreadableFileReason);
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        ::close(fd);
        return fail(kUnreadableFileReason);
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        return fail(kNotRegularFileReason);
    }
    std::string data;
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            ::close(fd);
            return fail(kUnreadableFileReason);
        }
        if (n == 0) break;
        if (data.size() + static_cast<size_t>(n) > maxBytes) {
            ::close(fd);
            return fail("the file is larger than any data file this program reads");
        }
        data.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    contents = std::move(data);
    return true;
}

std::string_view stripLineEnd(std::string_view line) {
    if (!line.empty() && line.back() == '\n') {
        line.remove_suffix(1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    }
    return line;
}

std::vector<TextLine> splitLines(std::string_view contents) {
    std::vector<TextLine> lines;
    size_t start = 0;
    while (start < contents.size()) {
        size_t end = contents.find('\n', start);
        bool hadLineEnd = end != std::string_view::npos;
        size_t stop = hadLineEnd ? end + 1 : contents.size();
        lines.push_back({std::string(stripLineEnd(contents.substr(start, stop - start))), hadLineEnd});
        start = stop;
    }
    return lines;
}

std::FILE* openOutputFile(const std::string& path, bool append) {
    const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | (append ? O_APPEND : O_TRUNC);
    const int fd = ::open(path.c_str(), flags, 0666);
    if (fd < 0) return nullptr;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        errno = EINVAL;
        return nullptr;
    }
    std::FILE* file = ::fdopen(fd, append ? "ab" : "wb");
    if (!file) ::close(fd);
    return file;
}

bool writeFileAtomically(const std::string& path, std::string_view contents) {
    std::string tempPath;
    int fd = writeTemporaryFile(path, contents, tempPath);
    if (fd < 0) return false;
    bool ok = ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok) ok = ::rename(tempPath.c_str(), path.c_str()) == 0;
    if (!ok) {
        const int failure = errno;  // kept for the caller's report
        ::unlink(tempPath.c_str());
        errno = failure;
    }
    return ok;
}

size_t writeFilesAtomically(const std::vector<FileToWrite>& files) {
    const size_t n = files.size();
    const BatchDirectories directories(files);
    std::vector<std::string> temps(n);
    std::vector<char> written(n, 0);
    // 1. Every temporary file written, a chunk at a time; a chunk with a failure ends the batch
    // at its first failure. Each is closed at once, so that a thousand files never hold a
    // thousand descriptors against the process's limit.
    auto writeOne = [&](size_t i) {
        const int fd = writeTemporaryFile(files[i].path, files[i].contents, temps[i]);
        if (fd < 0) return;
        if (::close(fd) == 0)
            written[i] = 1;
        else
            ::unlink(temps[i].c_str());
    };
    size_t good = n;
    for (size_t c = 0; c < n && good == n; c += kBatchChunk) {
        const size_t end = std::min(n, c + kBatchChunk);
        forEachInParallel(c, end, writeOne);
        for (size_t i = c; i < end && good == n; ++i)
            if (!written[i]) good = i;
    }
    // 2. All flushed. A failed flush cannot be pinned on one file, so then nothing is renamed.
    if (good > 0 && !directories.flushFileSystems()) good = 0;
    // 3. Renamed chunk by chunk up to the first failure. Within the chunk that holds it, later
    // files may already be replaced: each is then whole, old or new, never half-written.
    std::vector<char> renamed(n, 0);
    for (size_t c = 0; c < good; c += kBatchChunk) {
        const size_t end = std::min(good, c + kBatchChunk);
        forEachInParallel(c, end, [&](size_t i) { renamed[i] = renameOver(temps[i], files[i].path); });
        for (size_t i = c; i < end; ++i)
            if (!renamed[i]) {
                good = i;
                break;
            }
    }
    for (size_t i = 0; i < n; ++i)
        if (written[i] && !renamed[i]) ::unlink(temps[i].c_str());
    // 4. Each directory flushed once, so that the renames themselves are durable.
    if (good > 0) directories.flushDirectories();
    return good;
}
