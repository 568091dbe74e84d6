// CSV trace of the integrator state for unattended runs: one row per object per advanced frame,
// written after that frame's gravity step, with 17 significant digits.
#pragma once

#include <cstdio>
#include <string>

#include "integrator.h"

class TraceWriter {
public:
    TraceWriter() = default;
    TraceWriter(const TraceWriter&) = delete;
    TraceWriter& operator=(const TraceWriter&) = delete;
    ~TraceWriter();

    // Creates a temporary file of its own beside path ("<path>.tmp<pid>_<n>", exclusively) and
    // writes the header "frame,time,index,x,y,z,vx,vy,vz". False with the system's reason when it
    // cannot be created or path cannot be replaced (a directory, a file that may not be written).
    bool open(const std::string& path, std::string* reason = nullptr);
    // Rows for every object: frame number, mission time, index, world position (origin added
    // back) and velocity from the integrator's doubles.
    void writeFrame(long long frame, float missionTimeS, const IntegratorState& integrator);
    // Flushes it to disk and moves it into place. False with the system's reason when writing or
    // the rename failed; the temporary file is then removed and path is left as it was.
    bool close(std::string* reason = nullptr);
    bool isOpen() const { return file_ != nullptr; }

private:
    void append(const char* text, size_t n);
    bool flushBuffer();

    std::FILE* file_ = nullptr;
    std::string path_;
    std::string tempPath_;
    std::string buffer_;
    bool failed_ = false;
};
