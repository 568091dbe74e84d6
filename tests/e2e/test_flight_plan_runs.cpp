// Flight plans in the real program, from a ship on a circular orbit 2,000 km above Earth: an orbit
// change to the geostationary altitude typed with the digits and flown by the autopilot ends on
// that circle and replays bit for bit; a transfer to the Moon (Home, then End) reaches the planned
// closest approach and ends bound to the Moon.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>

#include "integrator.h"
#include "simulator_runs.h"
#include "target_tabs.h"
#include "two_body_orbit.h"

using testdata::TempDataDir;

namespace {

constexpr double kEarthRadiusKm = 6378.14;
constexpr double kEarthMassKg = 5.97217e24;
constexpr int kEarth = 3, kMoon = 4, kShip = 10;  // positions in the shipped configuration

// Sets "Item n. ... = value" lines of an object file.
void setItems(const std::string& path, const std::vector<std::pair<int, double>>& items) {
    std::istringstream in(testdata::readText(path));
    std::string text;
    for (std::string line; std::getline(in, line);) {
        for (const auto& [item, value] : items) {
            const std::string prefix = "Item " + std::to_string(item) + ".";
            const size_t equals = line.find("= ");
            if (line.rfind(prefix, 0) != 0 || equals == std::string::npos) continue;
            char number[40];
            std::snprintf(number, sizeof number, "%.9g", value);
            line = line.substr(0, equals + 2) + number;
        }
        text += line + "\n";
    }
    testdata::writeText(path, text);
}

// The shipped sky with the ship on a circular equatorial orbit 2,000 km above Earth (Earth stands
// at the origin with the shipped velocity).
void shipInLowEarthOrbit(const std::string& dir) {
    const double r = kEarthRadiusKm + 2000;
    const double v = std::sqrt(kGravityKm3PerKgS2 * (kEarthMassKg + 1000) / r);
    setItems(dir + "/Objects/Observer.cfg", {{2, 0}, {3, 0}, {4, r}, {5, 5.02888 - v}, {6, -2.18027}, {7, -29.7798},
                                             {9, 0}, {10, 0}, {11, r}});
}

struct Sample {
    double t;
    Vec3d p, v;
};
// Every frame's state of objects a and b from a trace.
std::vector<std::pair<Sample, Sample>> tracePairs(const std::string& path, int a, int b) {
    std::ifstream in(path);
    std::vector<std::pair<Sample, Sample>> out;
    Sample sa, sb;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || !std::isdigit(static_cast<unsigned char>(line[0]))) continue;  // the header
        std::istringstream row(line);
        std::vector<double> f;
        for (std::string field; std::getline(row, field, ',');) f.push_back(std::stod(field));
        if (f.size() < 9) continue;
        Sample s{f[1], {f[3], f[4], f[5]}, {f[6], f[7], f[8]}};
        if (static_cast<int>(f[2]) == a) sa = s;
        if (static_cast<int>(f[2]) == b) {
            sb = s;
            out.emplace_back(sa, sb);
        }
    }
    return out;
}

OrbitElements orbitAbout(const std::pair<Sample, Sample>& bodyAndShip, double gm) {
    const auto& [body, ship] = bodyAndShip;
    return elementsFromState({ship.p - body.p, ship.v - body.v}, gm);
}

// A command key (pressed and released before one frame) or a polled key (held over one frame).
std::string keyPress(int frame, const std::string& key, int heldFrames = 0) {
    return std::to_string(frame) + " key " + key + " down\n" + std::to_string(frame + heldFrames) + " key " + key +
           " up\n";
}

}  // namespace

TEST(FlightPlanRuns, TypedOrbitChangeFlownByTheAutopilotEndsCircularAndReplaysBitForBit) {
    TempDataDir dir;
    e2e::copyShippedData(dir.path());
    shipInLowEarthOrbit(dir.path());
    // Record; type 35786, Enter plans the two burns, End flies them; 1000x warp in between, which
    // the autopilot lowers before each burn and takes back up after the first.
    std::string script = keyPress(0, "F5");
    int frame = 2;
    for (const char* digit : {"3", "5", "7", "8", "6"}) script += keyPress(frame++, digit);
    script += keyPress(frame, "Enter") + keyPress(frame + 1, "End");
    frame += 2;
    for (int i = 0; i < 3; ++i) script += keyPress(frame + 2 * i, "Period", 1);
    testdata::writeText(dir / "script.txt", script);
    // Frames of 0.02 s: the last frame of a burn ends within half of the push of one level step
    // (force factor times frame time), here 0.2 m/s.
    const int frames = 6000;
    testrun::RunResult r = e2e::runCorvane(dir.path(), {"--no-render", "--fixed-dt", "0.02", "--frames",
                                                         std::to_string(frames), "--input", dir / "script.txt",
                                                         "--trace", dir / "live.csv"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto states = tracePairs(dir / "live.csv", kEarth, kShip);
    ASSERT_FALSE(states.empty());
    const double gm = kGravityKm3PerKgS2 * (kEarthMassKg + 1000);
    const OrbitElements end = orbitAbout(states.back(), gm);
    EXPECT_NEAR(end.semiMajorAxisKm - kEarthRadiusKm, 35786, 50) << r.err;
    EXPECT_LT(end.eccentricity, 0.005);
    // Both burns were flown: the orbit stayed low until the first one.
    EXPECT_NEAR(orbitAbout(states[50], gm).semiMajorAxisKm - kEarthRadiusKm, 2000, 20);

    r = e2e::runCorvane(dir.path(), {"--no-render"}, "0");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Exact replay: all " + std::to_string(frames) + " frames matched.\n");
}

TEST(FlightPlanRuns, TransferToTheMoonReachesThePlannedApproachAndIsCaptured) {
    TempDataDir dir;
    e2e::copyShippedData(dir.path());
    shipInLowEarthOrbit(dir.path());
    const int moonTabs = e2e::tabsTo(dir.path(), "Moon");
    ASSERT_GT(moonTabs, 0);
    // Tab to the Moon, Z (one lunar radius), Home plans, End flies; 10,000x warp.
    std::string script = e2e::tabPresses(1, moonTabs);
    int frame = moonTabs + 3;
    script += keyPress(frame, "Z") + keyPress(frame + 1, "Home") + keyPress(frame + 2, "End");
    for (int i = 0; i < 4; ++i) script += keyPress(frame + 4 + 2 * i, "Period", 1);
    testdata::writeText(dir / "script.txt", script);
    testrun::RunResult r = e2e::runCorvane(dir.path(), {"--no-render", "--fixed-dt", "0.05", "--frames", "6000",
                                                         "--input", dir / "script.txt", "--trace", dir / "live.csv"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::smatch m;
    ASSERT_TRUE(std::regex_search(r.err, m, std::regex("closest (-?[0-9]+) km\\)"))) << r.err;
    const double planned = std::stod(m[1]);
    const double moonRadius = 1738.1;
    EXPECT_NEAR(planned, moonRadius, 0.005 * moonRadius + 1);
    const auto states = tracePairs(dir / "live.csv", kMoon, kShip);
    double closest = 1e300;
    for (const auto& [moon, ship] : states) closest = std::min(closest, length(ship.p - moon.p) - moonRadius);
    EXPECT_NEAR(closest, planned, 0.05 * planned) << r.err;
    const double gmMoon = kGravityKm3PerKgS2 * (7.34579e22 + 1000);
    const OrbitElements end = orbitAbout(states.back(), gmMoon);
    EXPECT_TRUE(end.bound()) << r.err;
    EXPECT_GT(end.periapsisKm() - moonRadius, 1500);
}
