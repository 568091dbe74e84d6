// The solar system on a chosen date: the Sun, the planets and the Moon from the IAU planetary
// theories (ERFA: epv00 for Earth and the Sun, plan94 for the planets, moon98 for the Moon), in
// the frame and units the delivered objects were made in (km and km/s; +y the celestial north
// pole, right ascension 0 h along +z and 6 h along -x; origin at Earth's centre at that instant;
// velocities relative to the centre of mass of the ten bodies, scaled for the simulator's G).
#pragma once

#include <array>
#include <map>
#include <string>

#include "mission_date.h"
#include "vec3d.h"

struct BodyState {
    Vec3d positionKm;
    Vec3d velocityKmPerS;
};

// The delivered bodies, in configuration order: Sun, Mercury, Venus, Earth, Moon, Mars, Jupiter,
// Saturn, Uranus, Neptune. Their object files are Objects/<name>.cfg.
const std::array<const char*, 10>& deliveredBodyNames();

// Every delivered body's state at utc.
std::map<std::string, BodyState> solarSystemAt(const UtcDateTime& utc);

// Spin angles (Item 19) at utc: Earth's prime meridian faces the Greenwich mean sidereal time; the
// Moon's near side faces Earth.
double earthSpinAngleRad(const UtcDateTime& utc);
double moonSpinAngleRad(const BodyState& earth, const BodyState& moon);

struct SetDateResult {
    bool ok = false;
    std::string error;       // why nothing, or not everything, was written
    int bodiesMoved = 0;     // delivered bodies written
    int objectsCarried = 0;  // other objects kept in place relative to a delivered body
};

// Gives the delivered bodies in dataDirectory + "Objects/" their states at utc. Every other object
// file keeps its place and motion relative to the delivered body that pulls hardest on it (the
// observer near Earth stays near Earth, a moon of Jupiter stays with Jupiter, an asteroid with the
// Sun). Resets time.cfg to 0 and keeps the date in the date file. Each file is replaced
// atomically; all new texts are made before the first is written, so a damaged file stops the
// whole change before anything is written.
SetDateResult setSolarSystemDate(const std::string& dataDirectory, const UtcDateTime& utc);
