// An OpenGL 3.3 core context without any window, on EGL's surfaceless (or device) platform, for
// tests and tools that draw through GlDevice into its off-screen back buffer.
#pragma once

#include <string>

class GlOffscreenContext {
public:
    GlOffscreenContext() = default;
    ~GlOffscreenContext();
    GlOffscreenContext(const GlOffscreenContext&) = delete;
    GlOffscreenContext& operator=(const GlOffscreenContext&) = delete;

    // Creates the context and makes it current on this thread. False (with error()) when EGL or
    // a 3.3 core context is not available.
    bool create();
    const std::string& error() const { return error_; }

private:
    void* display_ = nullptr;
    void* context_ = nullptr;
    std::string error_;
};
