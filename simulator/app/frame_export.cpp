// Numbered PNG pictures of drawn frames.
#include "frame_export.h"

#include <cstdio>

#include "gl_device.h"
#include "png_file.h"

FrameExport::FrameExport(std::string directory, long long every)
    : directory_(std::move(directory)), every_(every < 1 ? 1 : every) {
    if (!directory_.empty() && directory_.back() != '/') directory_ += '/';
}

std::string FrameExport::fileName(long long frameIndex) {
    char name[48];
    std::snprintf(name, sizeof name, "frame_%06lld.png", frameIndex);
    return name;
}

void FrameExport::frameDrawn(GlDevice& device, long long frameIndex) {
    // A frame drawn again without being advanced (a repaint while paused) is not exported twice.
    if (frameIndex < 0 || frameIndex == lastExported_ || frameIndex % every_ != 0) return;
    lastExported_ = frameIndex;
    Image picture;
    std::string path = directory_ + fileName(frameIndex);
    if (device.readBackBuffer(picture) && writePngRgb(path, picture)) return;
    if (!failureReported_)
        std::fprintf(stderr, "corvane: the frame picture %s could not be written\n", path.c_str());
    failureReported_ = true;
}
