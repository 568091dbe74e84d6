// DestinationMarker: the small diamond that shows where the ship is heading, drawn one render unit
// ahead of the camera along the observer's direction of motion, facing the camera.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "gl_device.h"
#include "sim_state.h"

constexpr float kDestinationMarkerSize = 0.055f;  // render units across the diagonal
inline constexpr const char* kDestinationIconFile = "Media/Icons/destination64.bmp";

// The four vertices of the marker (triangle-strip order) in camera-centred world units: the
// corners -hr, +hu, -hu, +hr, where hr and hu are the view's right and up axes (first and second
// columns of the view matrix) times half the marker size. Every normal is (1, 0, 0).
std::array<VertexPnt, 4> destinationMarkerVertices(const Mat4f& view);

// World transform of the marker: a translation by the unit direction of motion. Nothing when the
// observer is at rest (there is no direction to mark).
std::optional<Mat4f> destinationMarkerWorld(Vec3f observerVelocityKmPerS);

// Created with the device (onDeviceCreated), released with it (onDeviceDestroyed). The texture is
// loaded, without colour key, at the first draw and kept until release.
class DestinationMarker {
public:
    // Draws the marker unless it is hidden (the latch, flipped by the replay viewer's control), in
    // live and replay mode alike, with the device's current projection and state.camera as the
    // view. Alpha blended at half opacity, without depth test or culling; the device's render
    // state is restored afterwards. Returns the icon's path when it cannot be loaded (the caller
    // reports it and ends the run), nothing otherwise.
    std::optional<std::string> draw(GlDevice& device, const SimState& state);
    void release();
    bool textureLoaded() const { return texture_.valid(); }

private:
    GlTexture texture_;
};

// The overlay pass's step: marker.draw(device, state). Returns the icon path on a load failure.
inline std::optional<std::string> drawDestinationMarker(GlDevice& device, DestinationMarker& marker,
                                                        const SimState& state) {
    return marker.draw(device, state);
}
