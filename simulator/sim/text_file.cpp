// Whole-file reading, line splitting and atomic replacement of data files. POSIX calls are used
// so that every failure (a directory, a full disk, a failed rename) is seen and reported.
#include "text_file.h"

#include "file_error.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <thread>
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

// Creates a temporary file of our own beside path (same directory, so the rename cannot cross
// devices) and writes contents to it, unflushed. -1 on failure, with nothing left behind.
int writeTemporaryFile(const std::string& path, std::string_view contents, std::string& tempPath) {
    if (path.empty() || path.back() == '/') return -1;
    // A file that exists but may not be written stays as it is, as truncating it in place would;
    // a directory in the file's place is seen here, before anything is renamed.
    if (::access(path.c_str(), F_OK) == 0 && ::access(path.c_str(), W_OK) != 0) return -1;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return -1;
    static std::atomic<unsigned> counter{0};
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        tempPath = path + ".tmp" + std::to_string(::getpid()) + "_" + std::to_string(counter++);
        fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) return -1;
    }
    if (fd < 0) return -1;
    if (!writeAll(fd, contents)) {
        ::close(fd);
        ::unlink(tempPath.c_str());
        return -1;
    }
    return fd;
}

std::string directoryOf(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash + 1);
}

}  // namespace

bool writeFileAtomically(const std::string& path, std::string_view contents) {
    std::string tempPath;
    int fd = writeTemporaryFile(path, contents, tempPath);
    if (fd < 0) return false;
    bool ok = ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok) ok = ::rename(tempPath.c_str(), path.c_str()) == 0;
    if (!ok) ::unlink(tempPath.c_str());
    return ok;
}

namespace {

// Files of a batch are handled in chunks of this many, each chunk on several threads at once:
// creating and renaming files wait on the file system's journal, and waits that overlap are
// served together, so a thousand files cost a few waits instead of a thousand.
constexpr size_t kBatchChunk = 64;
constexpr size_t kBatchThreads = 16;

// Runs f(i) for every i in [begin, end) on up to kBatchThreads threads.
template <class F>
void forEachInParallel(size_t begin, size_t end, F f) {
    const size_t threads = std::min(kBatchThreads, end - begin);
    std::atomic<size_t> next{begin};
    auto work = [&] {
        for (size_t i = next.fetch_add(1); i < end; i = next.fetch_add(1)) f(i);
    };
    std::vector<std::thread> pool;
    for (size_t t = 1; t < threads; ++t) pool.emplace_back(work);
    work();
    for (std::thread& t : pool) t.join();
}

// Replaces path by the renamed temporary file. The replaced file is held open across the
// rename, so that its blocks are freed when the hold is dropped here, outside the directory's
// lock and alongside the other workers, rather than one file at a time inside the rename: on a
// disk that discards freed blocks at once, that wait is most of a large save.
bool renameOver(const std::string& tempPath, const std::string& path) {
    const int replaced = ::open(path.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
    const bool ok = ::rename(tempPath.c_str(), path.c_str()) == 0;
    if (replaced >= 0) ::close(replaced);
    return ok;
}

// The directories of a batch, each opened once before anything is written: a flush through one
// of them then reports every write-back error of the batch on its file system, and flushing each
// once makes the renames in it durable.
class BatchDirectories {
public:
    explicit BatchDirectories(const std::vector<FileToWrite>& files) {
        for (const FileToWrite& f : files) {
            std::string dir = directoryOf(f.path);
            if (std::find(paths_.begin(), paths_.end(), dir) != paths_.end()) continue;
            paths_.push_back(dir);
            fds_.push_back(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        }
    }
    ~BatchDirectories() {
        for (int fd : fds_)
            if (fd >= 0) ::close(fd);
    }
    BatchDirectories(const BatchDirectories&) = delete;
    BatchDirectories& operator=(const BatchDirectories&) = delete;

    // One flush per file system (a flush per file costs a disk cache flush each).
    bool flushFileSystems() const {
        std::vector<dev_t> flushed;
        for (int fd : fds_) {
            struct stat st {};
            if (fd < 0 || ::fstat(fd, &st) != 0) return false;
            if (std::find(flushed.begin(), flushed.end(), st.st_dev) != flushed.end()) continue;
            flushed.push_back(st.st_dev);
            if (::syncfs(fd) != 0) return false;
        }
        return true;
    }
    void flushDirectories() const {
        for (int fd : fds_)
            if (fd >= 0) ::fsync(fd);
    }

private:
    std::vector<std::string> paths_;
    std::vector<int> fds_;
};

}  // namespace

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
