// Body markers: a small square and the name of every body whose disc is too small to see, at its
// true direction, coloured by kind (star, planet, moon). Labels that would overlap a nearer
// body's label are left out, so that a crowded sky stays readable; the squares are all drawn.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "screen_shapes.h"
#include "sky_projection.h"
#include "text_font.h"

constexpr uint32_t kStarMarkerArgb = 0xFFFFD24A;
constexpr uint32_t kPlanetMarkerArgb = 0xFF72C8FF;
constexpr uint32_t kMoonMarkerArgb = 0xFFD8A0FF;
constexpr float kMarkerHalfSizePx = 3.0f;

// Colour of body's marker: stars, bodies that orbit a star or nothing (planets), and bodies that
// orbit another body (moons).
uint32_t markerColour(const SimState& state, int body);

// A label placed on the screen: its text box and which body it names.
struct MarkerLabel {
    int body = -1;
    float x = 0, y = 0;  // top-left of the text
    int widthPx = 0, heightPx = 0;
};

class BodyMarkers {
public:
    // Lays out the markers of the marked bodies (squares into shapes, labels into labels()), the
    // nearest body first. charWidthPx and lineHeightPx are the label font's cell.
    void layout(const SimState& state, const std::vector<BodyOnScreen>& bodies, int widthPx, int heightPx,
                int charWidthPx, int lineHeightPx, ScreenShapes& shapes);
    // Draws the labels that layout placed.
    void drawLabels(const SimState& state, TextFont& font) const;
    const std::vector<MarkerLabel>& labels() const { return labels_; }

private:
    std::vector<int> order_;
    std::vector<MarkerLabel> labels_;
    std::vector<uint8_t> taken_;  // occupancy of label cells
    mutable std::string name_;
};
