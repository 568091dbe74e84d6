// The 1000-object test fields of tools/make_asteroid_field.py, loaded as a run loads them: the
// belt circles the delivered Sun, and warp 100,000 holds at the budget of a fixed-frame-time run.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "frame_step.h"
#include "startup.h"
#include "step_bound.h"
#include "test_data_dir.h"
#include "time_warp.h"

namespace {

constexpr double kAuKm = 1.495978707e8;

TEST(AsteroidField, BeltCirclesTheDeliveredSunAndWarp100000Holds) {
    const std::string python = CELESTRIX_PYTHON;
    if (std::system(("\"" + python + "\" --version > /dev/null 2>&1").c_str()) != 0)
        GTEST_SKIP() << "no python3";
    struct Case {
        const char* option;
        size_t planets;  // bodies besides the Sun and the asteroids
    };
    for (Case c : {Case{"", 0}, Case{" --with-solar-system", 9}}) {
        testdata::TempDataDir dir;
        std::filesystem::copy(CELESTRIX_DATA_SOURCE, dir.path(),
                              std::filesystem::copy_options::recursive |
                                  std::filesystem::copy_options::overwrite_existing);
        const std::string command = "\"" + python + "\" \"" CELESTRIX_TOOLS_DIR
                                    "make_asteroid_field.py\" --out \"" + dir.path() + "\"" +
                                    c.option + " > /dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        SimState s;
        s.runMode = 1;
        s.dataDirectory = dir.path();
        ASSERT_FALSE(loadStartupState(s).has_value()) << c.option;
        fillSceneState(s);
        ASSERT_EQ(s.objects.size(), 1000u) << c.option;
        const SimObject& sun = s.objects[0];
        ASSERT_EQ(s.configEntries[0], "Sun.cfg");
        const double mu = kGravityKm3PerKgS2 * sun.massKg;
        size_t asteroids = 0;
        for (size_t i = 0; i + 1 < s.objects.size(); ++i) {
            if (s.configEntries[i].rfind("Asteroid_", 0) != 0) continue;
            ++asteroids;
            const SimObject& a = s.objects[i];
            const double dx = double(a.positionKm.x) - sun.positionKm.x,
                         dy = double(a.positionKm.y) - sun.positionKm.y,
                         dz = double(a.positionKm.z) - sun.positionKm.z;
            const double vx = double(a.velocityKmPerS.x) - sun.velocityKmPerS.x,
                         vy = double(a.velocityKmPerS.y) - sun.velocityKmPerS.y,
                         vz = double(a.velocityKmPerS.z) - sun.velocityKmPerS.z;
            const double r = std::sqrt(dx * dx + dy * dy + dz * dz);
            const double v = std::sqrt(vx * vx + vy * vy + vz * vz);
            ASSERT_GT(r, 2.19 * kAuKm) << s.configEntries[i];
            ASSERT_LT(r, 3.22 * kAuKm) << s.configEntries[i];
            // Circular about the Sun (six digits in the files, a slight tilt of the belt).
            ASSERT_NEAR(v, std::sqrt(mu / r), 0.01 * v) << s.configEntries[i];
            ASSERT_NEAR(dx * vx + dy * vy + dz * vz, 0.0, 0.01 * r * v) << s.configEntries[i];
        }
        EXPECT_EQ(asteroids, 1000u - 2 - c.planets) << c.option;

        // Three frames at warp 100,000 with the nominal cost of a fixed-frame-time run: no drop.
        // Nothing fires: the thrusters of the delivered observer may be latched.
        for (int latch : {kForwardThrusterForward, kForwardThrusterBackward, kUpThrusterUp,
                          kUpThrusterDown, kRightThrusterRight, kRightThrusterLeft})
            s.latches[static_cast<size_t>(latch)] = 0;
        FrameStepHooks hooks;
        const double startS = s.missionTimeS;
        s.warp.level = 5;
        for (int frame = 0; frame < 3; ++frame) {
            FrameInput in;
            in.elapsedS = resolveWarpedFrameTime(s, 1.0f / 60);
            ASSERT_TRUE(s.warp.frameWarped) << c.option << " drop " << int(s.warp.lastDrop);
            ASSERT_FALSE(stepSimulation(s, in, hooks).has_value());
        }
        EXPECT_NEAR(s.missionTimeS - startS, 3 * 100000.0 / 60, 1.0) << c.option;
    }
}

}  // namespace
