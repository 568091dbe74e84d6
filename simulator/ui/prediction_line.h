// The predicted path of the ship (and of the target, when one is chosen) drawn as a line among
// the bodies. Each point is placed around its reference body (the target, else the body the ship
// orbits) with that body's compressed placement, so an orbit of Earth draws as a
// closed ellipse around the drawn Earth. The prediction is computed on a worker thread from a copy
// of the state; a frame only hands the copy over and takes a finished path.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "gl_device.h"
#include "prediction_worker.h"
#include "sim_state.h"

class TextFont;

inline constexpr int kHorizonShorterKey = 0x1A;  // "["
inline constexpr int kHorizonLongerKey = 0x1B;   // "]"
inline constexpr std::array<double, 13> kPredictionHorizonsS = {
    900,       1800,       3600,       3 * 3600,   6 * 3600,    12 * 3600,  86400,
    2 * 86400, 5 * 86400,  10 * 86400, 30 * 86400, 90 * 86400,  365 * 86400};
inline constexpr int kDefaultHorizonLevel = 3;  // 3 hours

// Line-list vertices of the path, in render units relative to the observer (draw with the
// camera's rotation only): the ship's path around its reference body, the target's path around
// the body it orbits, and a cross at the closest approach. The ship's own path passes
// through the eye, so it is seen edge-on. Empty for an invalid path or a reference body gone.
std::vector<VertexPc> predictionLineVertices(const PredictedPath& path, const SimState& state);

// Draws line-list vertices of a path (render units about the observer) with the camera's rotation.
void drawPathLines(GlDevice& device, const SimState& state, const std::vector<VertexPc>& vertices);

// "2 h", "30 min", "5 d" for a horizon; "Closest approach 1,234 km in 2 h 05 min" for a path
// with a target.
std::string horizonText(double seconds);
std::string closestApproachText(const PredictedPath& path);

class PredictionLine {
public:
    // After every frame step: the bracket presses, a new request when one is wanted, and the
    // newest finished path. targetIndex: the body to predict too, -1 for none.
    void update(const SimState& state, float elapsedS, int targetIndex = -1);
    // The line, the closest approach mark and the horizon / closest approach text (top centre,
    // below the warp line).
    void draw(GlDevice& device, TextFont& font, const SimState& state, int w);

    double horizonS() const { return kPredictionHorizonsS[static_cast<size_t>(horizonLevel_)]; }
    const PredictedPath& path() const { return path_; }
    // Blocks until the worker is idle and takes its path (tests, snapshots of a scripted run).
    void finishPending();

private:
    PredictionWorker worker_;
    PredictionTrigger trigger_;
    PredictedPath path_;
    int horizonLevel_ = kDefaultHorizonLevel;
    bool shorterWasDown_ = false, longerWasDown_ = false;
    float horizonTextLeftS_ = 0;
};
