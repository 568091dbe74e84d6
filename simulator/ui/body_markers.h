// Body markers: a small square and the name of every body whose disc is too small to see, at its
// true direction, coloured by kind (star, planet, moon). A label sits beside its square (right,
// else left, above or below it) without touching any square, the target bracket, another label or
// a panel; where no place is free it is left out, the target's and the nearer bodies' labels
// placed first, so that no glyph is ever drawn over another. The target is named beside its
// bracket even when its disc is visible, with its distance above the surface from the frame's
// navigation figures.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "navigation_figures.h"
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
    std::string text;
};

// The label text of body: its name, and for the target its distance above the surface.
std::string markerLabelText(const SimState& state, int body, const NavigationFigures& figures);

class BodyMarkers {
public:
    // Lays out the markers of the marked bodies (squares into shapes, labels into labels()), the
    // target and then the nearest bodies first. charWidthPx and lineHeightPx are the label font's
    // cell; keepOut lists areas no label may enter.
    void layout(const SimState& state, const std::vector<BodyOnScreen>& bodies, int widthPx, int heightPx,
                int charWidthPx, int lineHeightPx, ScreenShapes& shapes, const std::vector<ScreenBox>& keepOut = {},
                const NavigationFigures& figures = {});
    // Draws the labels that layout placed.
    void drawLabels(const SimState& state, TextFont& font) const;
    const std::vector<MarkerLabel>& labels() const { return labels_; }

private:
    bool isFree(const ScreenBox& box) const;
    void take(const ScreenBox& box);

    std::vector<int> order_;
    std::vector<MarkerLabel> labels_;
    std::vector<uint8_t> taken_;  // occupancy of small screen cells
    int cols_ = 0, rows_ = 0;
};
