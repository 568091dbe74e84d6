// The steps that replacing files in batches share: a temporary file of our own beside each
// target, work spread over a few threads, renames that free the replaced blocks outside the
// directory's lock, and the flushes of the directories a batch touches.
#pragma once

#include <sys/types.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "text_file.h"

// Files of a batch are handled in chunks of this many, each chunk on several threads at once:
// creating and renaming files wait on the file system's journal, and waits that overlap are
// served together, so a thousand files cost a few waits instead of a thousand.
inline constexpr size_t kBatchChunk = 64;
inline constexpr size_t kBatchThreads = 16;

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

// Creates a temporary file of our own beside path ("<path>.tmp<pid>_<n>", made with O_EXCL so
// that nothing planted under that name is followed or reused) and writes contents to it,
// unflushed. Returns its descriptor, or -1 with errno saying why and nothing left behind.
int writeTemporaryFile(const std::string& path, std::string_view contents, std::string& tempPath);

// The directory part of path, with its final "/" ("." for a bare name).
std::string directoryOf(const std::string& path);

// Replaces path by the renamed temporary file. The replaced file is held open across the
// rename, so that its blocks are freed when the hold is dropped here, outside the directory's
// lock and alongside the other workers, rather than one file at a time inside the rename: on a
// disk that discards freed blocks at once, that wait is most of a large save.
bool renameOver(const std::string& tempPath, const std::string& path);

// The directories of a batch, each opened once before anything is written: a flush through one
// of them then reports every write-back error of the batch on its file system, and flushing each
// once makes the renames in it durable.
class BatchDirectories {
public:
    explicit BatchDirectories(const std::vector<FileToWrite>& files);
    explicit BatchDirectories(const std::vector<std::string>& directories);
    ~BatchDirectories();
    BatchDirectories(const BatchDirectories&) = delete;
    BatchDirectories& operator=(const BatchDirectories&) = delete;

    // One flush per file system (a flush per file costs a disk cache flush each). False, with
    // errno set, when a directory cannot be opened or the flush reports a write-back error.
    bool flushFileSystems() const;
    void flushDirectories() const;

private:
    void add(const std::string& directory);
    std::vector<std::string> paths_;
    std::vector<int> fds_;
};
