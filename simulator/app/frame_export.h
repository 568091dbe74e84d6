// Exports drawn frames as numbered PNG pictures (frame_000120.png for frame 120), every K-th
// advanced frame, so that a replay can be made into a video. Drawing is not changed by it.
#pragma once

#include <string>

class GlDevice;

class FrameExport {
public:
    FrameExport(std::string directory, long long every);
    // Whether frame frameIndex (counted from 0) is to be exported: every K-th frame, once (a
    // frame drawn again while paused is not exported twice).
    bool due(long long frameIndex) const;
    // Writes the device's back buffer as the picture of frame frameIndex. A picture that cannot
    // be written is reported once on standard error; the run goes on.
    void write(GlDevice& device, long long frameIndex);
    // The file name of a frame's picture inside the directory.
    static std::string fileName(long long frameIndex);

private:
    std::string directory_;  // ends in "/"
    long long every_;
    long long lastExported_ = -1;
    bool failureReported_ = false;
};
