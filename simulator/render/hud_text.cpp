// Composes the heads-up display's text block from the objects, the camera and the ship's state,
// and converts directions into declination and right ascension for it.
#include "hud_text.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <string_view>

#include "integrator.h"

namespace {

constexpr float kTwoPi = 6.2831855f;
constexpr float kPi = 3.1415927f;
constexpr float kHalfPi = 1.5707964f;
constexpr float kThreeHalvesPi = 4.712389f;
constexpr float kEnergyPercentPerKJ = 1e-9f;  // 1e11 kJ, the full store, shows 100.00 %
constexpr double kSecondsPerDay = 86400.0;
constexpr double kSecondsPerHour = 3600.0;
constexpr double kSecondsPerMinute = 60.0;

constexpr std::string_view kRule =
    "________________________________________________________________";  // 64 underscores

// An object's name as shown: its configuration entry up to, not including, the first '.'.
std::string_view displayName(const std::vector<std::string>& names, size_t i) {
    if (i >= names.size()) return {};
    std::string_view name = names[i];
    return name.substr(0, name.find('.'));
}

// Writes the lines in order into the store; lines past its capacity are dropped and every line
// is cut to kHudMaxLineChars, so a huge configuration or a very long name cannot overflow it.
class LineWriter {
public:
    LineWriter(HudText& out, size_t wantedLines) : out_(out) {
        out_.lines.resize(std::min(wantedLines, kHudMaxLines));
    }

    // label, padded with blanks to padWidth characters, followed by text.
    void put(std::string_view label, size_t padWidth, std::string_view text) {
        if (next_ >= out_.lines.size()) return;
        std::string& line = out_.lines[next_++];
        line.assign(label.substr(0, kHudMaxLineChars));
        if (line.size() < padWidth) line.append(std::min(padWidth, kHudMaxLineChars) - line.size(), ' ');
        line.append(text.substr(0, kHudMaxLineChars - line.size()));
    }
    void put(std::string_view text) { put(text, 0, {}); }

private:
    HudText& out_;
    size_t next_ = 0;
};

// printf into a fixed 512-byte scratch line; output beyond it is cut by vsnprintf.
class Scratch {
public:
    [[gnu::format(printf, 2, 3)]] std::string_view format(const char* fmt, ...) {
        va_list args;
        va_start(args, fmt);
        int n = std::vsnprintf(buffer_, sizeof buffer_, fmt, args);
        va_end(args);
        if (n < 0) return {};
        return std::string_view(buffer_, std::min(static_cast<size_t>(n), sizeof buffer_ - 1));
    }

private:
    char buffer_[kHudMaxLineChars + 1] = {};
};

float degrees(float rad) { return rad * kDegreesPerRad; }
float hours(float rad) { return rad * kHoursPerRad; }

}  // namespace

DecRa directionToDecRa(Vec3f v) {
    if (v.x == 0 && v.y == 0 && v.z == 0) return {};
    DecRa out;
    out.length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    // Rounding can put y / r a hair outside [-1, 1]; acos would then give NaN.
    float cosTheta = std::clamp(v.y / out.length, -1.0f, 1.0f);
    float theta = std::fmod(std::acos(cosTheta), kTwoPi);
    if (theta < 0) theta += kTwoPi;
    if (theta > kPi) theta = kTwoPi - theta;
    out.declinationRad = kHalfPi - theta;
    if (v.x > 0)
        out.rightAscensionRad = kTwoPi - (kHalfPi - std::atan(v.z / v.x));
    else if (v.x < 0)
        out.rightAscensionRad = kTwoPi - (kThreeHalvesPi - std::atan(v.z / v.x));
    else
        out.rightAscensionRad = v.z > 0 ? kTwoPi : kPi;
    return out;
}

size_t composeHud(HudText& out, const std::vector<SimObject>& objects,
                  const std::vector<std::string>& names, const Mat4f& view, float missionTimeS,
                  Vec3f wrappedAnglesRad, float energyKJ) {
    if (objects.empty()) {
        out.lines.clear();
        return 0;
    }
    const size_t n = objects.size();
    const size_t bodies = n - 1;
    const SimObject& obs = objects.back();
    const float massKg = obs.massKg;

    size_t nameWidth = kHudMinNameWidth;
    for (size_t i = 0; i < bodies; ++i) nameWidth = std::max(nameWidth, displayName(names, i).size());
    const size_t column = nameWidth + 1;

    LineWriter lines(out, n + 12);
    Scratch scratch;

    // Mission time split into days, hours, minutes and whole seconds with exact remainders (fmod):
    // multiplying by rounded reciprocals such as 0.016666668 instead would show a time just below
    // a full hour as "0 : 00 : 60 : 00". Double precision keeps huge times from overflowing.
    const double t = std::isfinite(missionTimeS) ? static_cast<double>(missionTimeS) : 0.0;
    const double dayRest = std::fmod(t, kSecondsPerDay);
    const double days = (t - dayRest) / kSecondsPerDay;
    const int hoursPart = static_cast<int>(dayRest / kSecondsPerHour);
    const double hourRest = std::fmod(dayRest, kSecondsPerHour);
    const int minutesPart = static_cast<int>(hourRest / kSecondsPerMinute);
    const int secondsPart = static_cast<int>(std::fmod(hourRest, kSecondsPerMinute));
    lines.put("MISSION TIME:  ", 0,
              scratch.format("%.0f : %02d : %02d : %02d                 ENERGY: %6.2f %%", days,
                             hoursPart, minutesPart, secondsPart,
                             static_cast<double>(energyKJ * kEnergyPercentPerKJ)));
    lines.put(kRule);
    lines.put("OBJECTS            Dec [o]     RA [h]         R [km]   R' [km/s]");

    for (size_t i = 0; i < bodies; ++i) {
        const SimObject& body = objects[i];
        const Vec3f p = body.positionKm - obs.positionKm;
        const float distanceKm = length(p);
        const float surfaceKm = distanceKm - body.equatorialRadiusKm;
        const DecRa angles = directionToDecRa(normalize(p));
        const Vec3f w = body.velocityKmPerS - obs.velocityKmPerS;
        const float radialKmPerS = distanceKm != 0 ? dot(p, w) / distanceKm : 0.0f;
        lines.put(displayName(names, i), column,
                  scratch.format("%9.2f %10.2f %14.2e %11.2e",
                                 static_cast<double>(degrees(angles.declinationRad)),
                                 static_cast<double>(hours(angles.rightAscensionRad)),
                                 static_cast<double>(surfaceKm), static_cast<double>(radialKmPerS)));
    }

    const DecRa motion = directionToDecRa(normalize(obs.velocityKmPerS));
    const DecRa forward = directionToDecRa(obs.forwardDirection);
    const DecRa up = directionToDecRa(obs.upDirection);
    const DecRa right = directionToDecRa(obs.rightDirection);
    const DecRa viewAngles = directionToDecRa({view.m[0][2], view.m[1][2], view.m[2][2]});
    const float g = relativisticFactor(obs.velocityKmPerS);

    lines.put(kRule);
    lines.put("DIRECTIONS         Dec [o]     RA [h]      ACCELERATION [km/s^2]");
    auto thruster = [&](std::string_view label, const DecRa& dir, float actingKN, float nominalKN) {
        lines.put(label, column,
                  scratch.format("%9.2f %10.2f     %10.2e / %9.2e",
                                 static_cast<double>(degrees(dir.declinationRad)),
                                 static_cast<double>(hours(dir.rightAscensionRad)),
                                 static_cast<double>(g * actingKN / massKg),
                                 static_cast<double>(nominalKN / massKg)));
    };
    thruster("Thruster 1 (fw)", forward, obs.actingForceKN.x, obs.nominalForceKN.x);
    thruster("Thruster 2 (rt)", right, obs.actingForceKN.z, obs.nominalForceKN.z);
    thruster("Thruster 3 (up)", up, obs.actingForceKN.y, obs.nominalForceKN.y);
    lines.put("Ship motion", column,
              scratch.format("%9.2f %10.2f         JUMP DISTANCE [km]",
                             static_cast<double>(degrees(motion.declinationRad)),
                             static_cast<double>(hours(motion.rightAscensionRad))));
    lines.put("View", column,
              scratch.format("%9.2f %10.2f %26.7e",
                             static_cast<double>(degrees(viewAngles.declinationRad)),
                             static_cast<double>(hours(viewAngles.rightAscensionRad)),
                             static_cast<double>(obs.jumpDistanceKm)));
    lines.put(kRule);
    lines.put("SHIP ORIENTATION     Pitch        Yaw       Roll");
    lines.put("", 0,
              scratch.format("%4.1e rad/s^2 %9.2f  %9.2f   %8.2f",
                             static_cast<double>(obs.torqueLevel),
                             static_cast<double>(wrappedAnglesRad.x),
                             static_cast<double>(wrappedAnglesRad.y),
                             static_cast<double>(wrappedAnglesRad.z)));
    return out.count();
}

size_t composeHud(HudText& out, const SimState& state) {
    return composeHud(out, state.objects, state.configEntries, state.camera, state.missionTimeS,
                      state.wrappedAngles, state.energyKJ);
}

std::string joinHudLines(const HudText& text) {
    std::string joined;
    for (size_t k = 0; k < text.lines.size(); ++k) {
        if (k > 0) joined += "\n\n";
        joined += text.lines[k];
    }
    return joined;
}
