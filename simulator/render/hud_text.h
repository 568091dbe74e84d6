// The heads-up display's navigation text: directions as declination and right ascension, and the
// text block composed from the simulation state every frame. Pure code: no GL, testable alone.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "math3d.h"
#include "sim_object.h"
#include "sim_state.h"

// Limits of the text store. A line holds at most kHudMaxLineChars characters (a 512-byte buffer
// with its terminator); a configuration that needs more than kHudMaxLines lines shows the first
// kHudMaxLines of them. Names and lines that do not fit are cut, never written past the store.
constexpr size_t kHudMaxLines = 500;
constexpr size_t kHudMaxLineChars = 511;
// Width of "SHIP ORIENTATION": the name column is never narrower.
constexpr size_t kHudMinNameWidth = 16;
// Radians to display units.
constexpr float kDegreesPerRad = 57.295776f;
constexpr float kHoursPerRad = 3.8197186f;  // 12 / pi

// Length and direction of a vector. +Y is the celestial north pole; right ascension 0 h lies
// along +Z (shown as 24 h, since +Z gives 2 pi), 6 h along -X, 12 h along -Z, 18 h along +X.
struct DecRa {
    float length = 0;             // length of the vector, its own unit
    float declinationRad = 0;     // [-pi/2, pi/2]
    float rightAscensionRad = 0;  // (0, 2 pi]; 0 only for the zero vector
};

// (0, 0, 0) for the zero vector.
DecRa directionToDecRa(Vec3f v);

// The composed lines. Owned by the application for the whole run and reused every frame, so that
// composing allocates nothing once the lines have grown to their size.
struct HudText {
    std::vector<std::string> lines;  // at most kHudMaxLines, each at most kHudMaxLineChars
    size_t count() const { return lines.size(); }
};

// Fills `out` with the navigation text of a star system whose last object is the observer:
// mission time and energy, one line per body (declination, right ascension, surface distance,
// radial speed), the thrusters' directions and accelerations, the directions of motion and view,
// the jump distance and the ship's orientation. `names` are the configuration's object file names
// (shown without their extension); `view` is the camera's view transform, whose third column is
// the view direction in world coordinates; `wrappedAnglesRad` are pitch, yaw, roll in [0, 2 pi).
// Gives n + 12 lines for n objects (13 for the observer alone), capped at kHudMaxLines; returns
// the number of lines. An empty object list gives no lines.
size_t composeHud(HudText& out, const std::vector<SimObject>& objects,
                  const std::vector<std::string>& names, const Mat4f& view, float missionTimeS,
                  Vec3f wrappedAnglesRad, float energyKJ);

// The same from the simulation state: objects, configuration entries, camera, mission time,
// wrapped angles and running energy. The application calls this once per frame step, also while
// the text block is hidden.
size_t composeHud(HudText& out, const SimState& state);

// The text block as drawn: the lines joined with "\n\n" (an empty line between two lines).
std::string joinHudLines(const HudText& text);
