// Buffered CSV trace writer: rows are collected in memory, written in large blocks to a temporary
// file, and the file is renamed into place when the trace is closed.
#include "trace_writer.h"

#include <cerrno>
#include <cstring>

namespace {
constexpr size_t kFlushThreshold = 1 << 20;
}

TraceWriter::~TraceWriter() { close(); }

bool TraceWriter::open(const std::string& path, std::string* reason) {
    close();
    path_ = path;
    tempPath_ = path + ".tmp";
    file_ = std::fopen(tempPath_.c_str(), "wb");
    if (!file_) {
        if (reason) *reason = tempPath_ + ": " + std::strerror(errno);
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
    flushBuffer();
    if (std::fflush(file_) != 0) failed_ = true;
    if (std::fclose(file_) != 0) failed_ = true;
    file_ = nullptr;
    if (!failed_ && std::rename(tempPath_.c_str(), path_.c_str()) == 0) return true;
    if (reason) *reason = path_ + ": " + std::strerror(errno);
    std::remove(tempPath_.c_str());
    return false;
}
