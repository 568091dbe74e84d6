// Buffered CSV trace writer: rows are collected in memory, written in large blocks to a temporary
// file, and the file is renamed into place when the trace is closed.
#include "trace_writer.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "batch_file_steps.h"

namespace {
constexpr size_t kFlushThreshold = 1 << 20;
}

TraceWriter::~TraceWriter() { close(); }

bool TraceWriter::open(const std::string& path, std::string* reason) {
    close();
    path_ = path;
    // A temporary file of our own (created exclusively, never through a link planted beside the
    // target); a directory or an unwritable file at path is refused here, before the run.
    const int fd = writeTemporaryFile(path, {}, tempPath_);
    if (fd < 0) {
        if (reason) *reason = path + ": " + std::strerror(errno);
        return false;
    }
    file_ = ::fdopen(fd, "wb");
    if (!file_) {
        if (reason) *reason = std::strerror(errno);
        ::close(fd);
        ::unlink(tempPath_.c_str());
        return false;
    }
    failed_ = false;
    buffer_.clear();
    buffer_.reserve(kFlushThreshold + 4096);
    static const char kHeader[] = "frame,time,index,x,y,z,vx,vy,vz\n";
    append(kHeader, sizeof(kHeader) - 1);
    return true;
}

void TraceWriter::append(const char* text, size_t n) {
    buffer_.append(text, n);
    if (buffer_.size() >= kFlushThreshold) flushBuffer();
}

bool TraceWriter::flushBuffer() {
    if (!file_) return false;
    if (!buffer_.empty() && std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size())
        failed_ = true;
    buffer_.clear();
    return !failed_;
}

void TraceWriter::writeFrame(long long frame, float missionTimeS, const IntegratorState& s) {
    if (!file_) return;
    char row[512];
    for (size_t i = 0; i < s.count(); ++i) {
        int n = std::snprintf(row, sizeof(row), "%lld,%.17g,%zu,%.17g,%.17g,%.17g,%.17g,%.17g,%.17g\n",
                              frame, static_cast<double>(missionTimeS), i, s.readBack(i, 0),
                              s.readBack(i, 2), s.readBack(i, 4), s.readBack(i, 1),
                              s.readBack(i, 3), s.readBack(i, 5));
        if (n > 0) append(row, static_cast<size_t>(n));
    }
}

bool TraceWriter::close(std::string* reason) {
    if (!file_) return true;
    int failure = 0;
    if (!flushBuffer() || std::fflush(file_) != 0 || ::fsync(::fileno(file_)) != 0) failure = errno ? errno : EIO;
    if (std::fclose(file_) != 0 && !failure) failure = errno ? errno : EIO;
    file_ = nullptr;
    if (!failure && std::rename(tempPath_.c_str(), path_.c_str()) == 0) return true;
    if (!failure) failure = errno;
    if (reason) *reason = path_ + ": " + std::strerror(failure);
    ::unlink(tempPath_.c_str());
    return false;
}
