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

bool FrameExport::due(long long frameIndex) const {
    return frameIndex >= 0 && frameIndex != lastExported_ && frameIndex % every_ == 0;
}

void FrameExport::write(GlDevice& device, long long frameIndex) {
    lastExported_ = frameIndex;
    Image picture;
    std::string path = directory_ + fileName(frameIndex);
    if (device.readBackBuffer(picture) && writePngRgb(path, picture)) return;
    if (!failureReported_)
        std::fprintf(stderr, "corvane: the frame picture %s could not be written\n", path.c_str());
    failureReported_ = true;
}
