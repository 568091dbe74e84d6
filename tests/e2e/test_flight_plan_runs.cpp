// Flight plans in the real program, from a ship on a circular orbit 2,000 km above Earth: an orbit
// change to the geostationary altitude typed with the digits and flown by the autopilot ends on
// that circle and replays bit for bit; a transfer to the Moon (Home, then End) flown with its
// mid-course corrections reaches the planned closest approach, ends bound to the Moon and replays
// bit for bit.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>

#include "integrator.h"
#include "simulator_runs.h"
#include "startup.h"
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

// The shipped sky with the ship on a circular orbit 2,000 km above Earth (Earth stands at the
// origin with the shipped velocity): in the equator's plane, or in the plane of the Moon's orbit
// a quarter turn behind the Moon.
void shipInLowEarthOrbit(const std::string& dir, bool inTheMoonsPlane = false) {
    const double r = kEarthRadiusKm + 2000;
    const double speed = std::sqrt(kGravityKm3PerKgS2 * (kEarthMassKg + 1000) / r);
    const Vec3d earthVelocity{5.02888, -2.18027, -29.7798};
    Vec3d position{0, 0, r}, velocity{-speed, 0, 0};
    if (inTheMoonsPlane) {
        SimState s;
        s.runMode = 1;
        s.dataDirectory = dir + "/";
        EXPECT_FALSE(loadStartupState(s).has_value());
        const SimObject& earth = s.objects[kEarth];
        const SimObject& moon = s.objects[kMoon];
        const Vec3d moonAt = widen(moon.positionKm) - widen(earth.positionKm);
        const Vec3d pole = normalized(cross(moonAt, widen(moon.velocityKmPerS) - widen(earth.velocityKmPerS)));
        const Vec3d up = normalized(cross(moonAt, pole));
        position = up * r;
        velocity = normalized(cross(pole, up)) * speed;
    }
    setItems(dir + "/Objects/Observer.cfg",
             {{2, position.x}, {3, position.y}, {4, position.z}, {5, earthVelocity.x + velocity.x},
              {6, earthVelocity.y + velocity.y}, {7, earthVelocity.z + velocity.z}, {9, position.x},
              {10, position.y}, {11, position.z}});
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

// The Moon's mass and radius as delivered.
constexpr double kMoonMassKg = 7.34579e22, kMoonRadiusKm = 1738.1;

// The last "closest N km" the run's plan or its corrections printed.
double plannedClosestKm(const std::string& err) {
    double planned = -1e9;
    const std::regex closest("closest (-?[0-9]+) km");
    for (auto it = std::sregex_iterator(err.begin(), err.end(), closest); it != std::sregex_iterator(); ++it)
        planned = std::stod((*it)[1]);
    return planned;
}

TEST(FlightPlanRuns, TransferToTheMoonFlownWithItsCorrectionsReachesThePlannedApproachAndIsCaptured) {
    TempDataDir dir;
    e2e::copyShippedData(dir.path());
    shipInLowEarthOrbit(dir.path(), true);
    const int moonTabs = e2e::tabsTo(dir.path(), "Moon");
    ASSERT_GT(moonTabs, 0);
    // Record; tab to the Moon, Z (one lunar radius), Home plans, End flies every node; warp
    // 10,000x, which the autopilot lowers before each burn and takes back up after it. Frames of a
    // 60 Hz screen.
    std::string script = keyPress(0, "F5") + e2e::tabPresses(1, moonTabs);
    int frame = moonTabs + 3;
    script += keyPress(frame, "Z") + keyPress(frame + 1, "Home") + keyPress(frame + 2, "End");
    for (int i = 0; i < 4; ++i) script += keyPress(frame + 4 + 2 * i, "Period", 1);
    testdata::writeText(dir / "script.txt", script);
    testrun::RunResult r = e2e::runCorvane(dir.path(), {"--no-render", "--fixed-dt", "0.0166667", "--frames", "20000",
                                                         "--input", dir / "script.txt", "--trace", dir / "live.csv"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // The plan: departure, corrections, capture; the departure as planned reaches one lunar
    // radius (the uncorrected conic's approach is printed beside it).
    std::smatch m;
    ASSERT_TRUE(std::regex_search(r.err, m, std::regex("plan: .*closest (-?[0-9]+) km\\)"))) << r.err;
    EXPECT_NEAR(std::stod(m[1]), kMoonRadiusKm, 0.01 * kMoonRadiusKm) << r.err;
    EXPECT_NE(r.err.find("Correction"), std::string::npos) << r.err;

    const auto states = tracePairs(dir / "live.csv", kMoon, kShip);
    ASSERT_FALSE(states.empty());
    const double gmMoon = kGravityKm3PerKgS2 * (kMoonMassKg + 1000);
    // The real approach: the periapsis of the path about the Moon at the closest frame before the
    // capture (the conic there is exact to metres).
    double closest = 1e18, closestAltitude = -1e9;
    for (const auto& pair : states) {
        const OrbitElements e = orbitAbout(pair, gmMoon);
        if (e.bound()) break;
        const double d = length(pair.second.p - pair.first.p);
        if (d < closest) closest = d, closestAltitude = e.periapsisKm() - kMoonRadiusKm;
    }
    const double planned = plannedClosestKm(r.err);
    EXPECT_NEAR(closestAltitude, planned, 0.05 * planned) << r.err;
    // Captured: bound to the Moon, clear of the surface stop.
    const OrbitElements end = orbitAbout(states.back(), gmMoon);
    ASSERT_TRUE(end.bound()) << r.err;
    EXPECT_GT(end.periapsisKm() - kMoonRadiusKm, 1500) << r.err;
    // The whole flight, corrections worked out on the planner's thread included, replays exactly.
    r = e2e::runCorvane(dir.path(), {"--no-render"}, "0");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Exact replay: all 20000 frames matched.\n");
}

namespace {

// The panel after each scripted plan key, as the run logged it: the key and the panel's lines.
std::vector<std::pair<std::string, std::vector<std::string>>> loggedPanels(const std::string& err) {
    std::vector<std::pair<std::string, std::vector<std::string>>> panels;
    std::istringstream in(err);
    const std::string header = "corvane: plan panel after ";
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(header, 0) == 0)
            panels.push_back({line.substr(header.size(), line.size() - header.size() - 1), {}});
        else if (line.rfind("  | ", 0) == 0 && !panels.empty())
            panels.back().second.push_back(line.substr(4));
    }
    return panels;
}

// Seconds of "starts in 9 min 59 s" (or "1 h 02 min") in a burn line, -1 without one.
double startsInS(const std::string& line) {
    std::smatch m;
    if (std::regex_search(line, m, std::regex("starts in ([0-9]+) min ([0-9]+) s")))
        return std::stod(m[1]) * 60 + std::stod(m[2]);
    return -1;
}

}  // namespace

TEST(FlightPlanRuns, NodeKeysEditTheNodesAsThePanelShows) {
    TempDataDir dir;
    e2e::copyShippedData(dir.path());
    shipInLowEarthOrbit(dir.path());
    // Each key, whether Shift is held, and then: the nodes listed, the selected one, its components
    // (prograde, normal, radial km/s), and how much later its burn starts than after the step
    // before. Steps of 0.01 km/s, 0.001 with Shift; Page Up / Down move by a 72nd of the orbit's
    // period (7,633 s).
    struct Step {
        const char* key;
        bool shift;
        size_t nodes;
        int selected;
        Vec3d components;
        const char* deltaV;  // as the burn's line shows it
        double laterS;
    };
    const double move = 7633.0 / 72;
    const Step steps[] = {
        {"Insert", false, 1, 1, {0, 0, 0}, "0.0 m/s", 0},
        {"KP8", false, 1, 1, {0.010, 0, 0}, "0.010 km/s", 0},
        {"KP8", true, 1, 1, {0.011, 0, 0}, "0.011 km/s", 0},
        {"KP2", false, 1, 1, {0.001, 0, 0}, "1.0 m/s", 0},
        {"KP4", false, 1, 1, {0.001, 0.010, 0}, "0.010 km/s", 0},
        {"KP6", true, 1, 1, {0.001, 0.009, 0}, "9.1 m/s", 0},
        {"KP7", false, 1, 1, {0.001, 0.009, 0.010}, "0.013 km/s", 0},
        {"KP9", true, 1, 1, {0.001, 0.009, 0.009}, "0.013 km/s", 0},
        {"KP9", false, 1, 1, {0.001, 0.009, -0.001}, "9.1 m/s", 0},
        {"KP7", true, 1, 1, {0.001, 0.009, 0}, "9.1 m/s", 0},
        {"KP6", false, 1, 1, {0.001, -0.001, 0}, "1.4 m/s", 0},
        {"KP4", true, 1, 1, {0.001, 0, 0}, "1.0 m/s", 0},
        {"KP2", true, 1, 1, {0, 0, 0}, "0.0 m/s", 0},
        {"KP8", false, 1, 1, {0.010, 0, 0}, "0.010 km/s", 0},
        {"PageUp", false, 1, 1, {0.010, 0, 0}, "0.010 km/s", move},
        {"PageUp", false, 1, 1, {0.010, 0, 0}, "0.010 km/s", move},
        {"PageDown", false, 1, 1, {0.010, 0, 0}, "0.010 km/s", -move},
        {"Insert", false, 2, 2, {0, 0, 0}, "0.0 m/s", 600},  // after the selected node
        {"KP9", false, 2, 2, {0, 0, -0.010}, "0.010 km/s", 0},
        {"Delete", false, 1, 1, {0.010, 0, 0}, "0.010 km/s", -600},
        {"Delete", false, 0, 0, {0, 0, 0}, "0.0 m/s", 0},
    };
    std::string script;
    int frame = 2;
    for (const Step& step : steps) {
        if (step.shift) script += std::to_string(frame) + " key LShift down\n";
        script += keyPress(frame, step.key);
        if (step.shift) script += std::to_string(frame) + " key LShift up\n";
        frame += 2;
    }
    testdata::writeText(dir / "script.txt", script);
    const testrun::RunResult r = e2e::runCorvane(
        dir.path(), {"--no-render", "--fixed-dt", "0.02", "--frames", std::to_string(frame + 2), "--input", dir / "script.txt"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto panels = loggedPanels(r.err);
    ASSERT_EQ(panels.size(), std::size(steps)) << r.err;
    double startedBefore = 0;
    for (size_t i = 0; i < panels.size(); ++i) {
        const Step& step = steps[i];
        const auto& [key, lines] = panels[i];
        SCOPED_TRACE("step " + std::to_string(i + 1) + ": " + key);
        EXPECT_EQ(key, step.key);
        std::vector<std::string> burns;
        for (const std::string& line : lines)
            if (line.find("Burn ") != std::string::npos) burns.push_back(line);
        ASSERT_EQ(burns.size(), step.nodes) << r.err;
        if (step.nodes == 0) {
            EXPECT_TRUE(lines.empty());
            continue;
        }
        const std::string& selected = burns[static_cast<size_t>(step.selected - 1)];
        EXPECT_EQ(selected.rfind("> Burn " + std::to_string(step.selected) + ": ", 0), 0u) << selected;
        char components[96];
        std::snprintf(components, sizeof components, "prograde %+.4f  normal %+.4f  radial %+.4f km/s",
                      step.components.x, step.components.y, step.components.z);
        EXPECT_NE(selected.find(std::string(": ") + step.deltaV + ", "), std::string::npos) << selected;
        bool listed = false;
        for (const std::string& line : lines) listed = listed || line.find(components) != std::string::npos;
        EXPECT_TRUE(listed) << components;
        // Two frames (0.04 s) pass between the keys; the panel shows whole seconds.
        const double starts = startsInS(selected);
        if (i > 0) {
            EXPECT_NEAR(starts - startedBefore, step.laterS, 1.5) << selected;
        }
        startedBefore = starts;
    }
}

TEST(FlightPlanRuns, BurnsTheShipCannotFlyAreNamedBeforeAndWhileTheyAreFlown) {
    // The typed orbit change (2.012 km/s, then 1.304) from the low circle, with the ship's forward
    // thrust and energy store set per case; End once, or again in the middle of the first burn.
    struct Case {
        double forceKN, energyKJ;
        bool endMidBurn;
        const char* planSays;   // after Enter ("" for nothing wrong)
        const char* pilotSays;  // after the last End
    };
    const Case cases[] = {
        {100, 1e11, true, "", "Autopilot off: burn stopped at "},
        {1000, 1e4, false, "the energy store cannot deliver it", "Autopilot: the energy store cannot deliver this burn"},
        {1, 1e11, false, "the thrust is too low: burn 1 lasts 33 min 31 s and would have to start before now", ""},
        {0, 1e11, false, "no forward thrust", "Autopilot: no forward thrust"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.forceKN) + " kN, " + std::to_string(c.energyKJ) + " kJ");
        TempDataDir dir;
        e2e::copyShippedData(dir.path());
        shipInLowEarthOrbit(dir.path());
        setItems(dir / "Objects/Observer.cfg", {{51, c.forceKN}, {57, c.energyKJ}});
        std::string script;
        int frame = 2;
        for (const char* digit : {"3", "5", "7", "8", "6"}) script += keyPress(frame++, digit);
        script += keyPress(frame, "Enter") + keyPress(frame + 1, "End");
        testdata::writeText(dir / "script.txt", script);
        const std::vector<std::string> options = {"--no-render", "--fixed-dt", "0.02", "--input", dir / "script.txt"};
        auto run = [&](int frames) {
            std::vector<std::string> o = options;
            o.insert(o.end(), {"--frames", std::to_string(frames)});
            return e2e::runCorvane(dir.path(), o);
        };
        testrun::RunResult r = run(frame + 4);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        auto panels = loggedPanels(r.err);
        ASSERT_GE(panels.size(), 7u) << r.err;
        std::string afterEnter;
        for (const std::string& line : panels[5].second) afterEnter += line + "\n";
        if (*c.planSays == 0) {
            for (const char* wrong : {"no forward thrust", "cannot deliver", "too low"})
                EXPECT_EQ(afterEnter.find(wrong), std::string::npos) << afterEnter;
        } else {
            EXPECT_NE(afterEnter.find(c.planSays), std::string::npos) << afterEnter;
        }
        if (c.endMidBurn) {
            // End again in the middle of the first burn (20 s at 100 kN), which the panel after
            // Enter dates.
            std::smatch m;
            ASSERT_TRUE(std::regex_search(afterEnter, m, std::regex("starts in ([0-9]+) min ([0-9]+) s"))) << afterEnter;
            const int mid = frame + static_cast<int>((std::stod(m[1]) * 60 + std::stod(m[2]) + 10) / 0.02);
            script += keyPress(mid, "End");
            testdata::writeText(dir / "script.txt", script);
            r = run(mid + 4);
            ASSERT_EQ(r.exitCode, 0) << r.err;
            panels = loggedPanels(r.err);
        }
        std::string afterEnd;
        for (const std::string& line : panels.back().second) afterEnd += line + "\n";
        EXPECT_EQ(panels.back().first, "End");
        if (*c.pilotSays != 0) {
            EXPECT_NE(afterEnd.find(c.pilotSays), std::string::npos) << afterEnd;
        }
        if (c.endMidBurn) {
            // Half of it: about 1 of 2.012 km/s.
            std::smatch m;
            ASSERT_TRUE(std::regex_search(afterEnd, m, std::regex("burn stopped at ([0-9.]+) of ([0-9.]+) km/s")))
                << afterEnd;
            EXPECT_NEAR(std::stod(m[1]), 1.0, 0.1);
            EXPECT_NEAR(std::stod(m[2]), 2.012, 0.001);
        }
    }
}
