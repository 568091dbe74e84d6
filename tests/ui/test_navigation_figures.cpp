// The navigation figures and their words on the delivered start: during an approach to the Moon
// the panel and the banner give the same distance, the same closest approach and never one in
// the past, whether it comes from a predicted path (fresh, outrun by the mission time, or made
// stale by a jump) or from the straight course.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "frame_step.h"
#include "navigation_banner.h"
#include "navigation_figures.h"
#include "prediction_worker.h"
#include "ship_controls.h"
#include "startup.h"
#include "target_navigation.h"
#include "target_panel.h"
#include "test_data_dir.h"

using testdata::TempDataDir;

namespace {

struct Delivered {
    TempDataDir dir;
    SimState state;
    int moon = -1;
    Delivered() {
        std::filesystem::copy(CELESTRIX_DATA_SOURCE, dir.path(), std::filesystem::copy_options::recursive);
        state.runMode = 1;
        state.dataDirectory = dir.path();
        if (loadStartupState(state)) throw std::runtime_error("delivered data unreadable");
        fillSceneState(state);
        while (state.configEntries[static_cast<size_t>(++moon)] != "Moon.cfg") {
        }
    }
    void step(int frames, float h = 0.02f) {
        FrameStepHooks none;
        FrameInput in;
        in.elapsedS = h;
        for (int i = 0; i < frames; ++i) {
            ASSERT_FALSE(stepSimulation(state, in, none).has_value());
            state.keyState.keys.fill(0);
        }
    }
};

// The number after "prefix" in text (NaN when missing).
double numberAfter(const std::string& text, const std::string& prefix) {
    const size_t at = text.find(prefix);
    if (at == std::string::npos) return std::nan("");
    return std::strtod(text.c_str() + at + prefix.size(), nullptr);
}

PredictedPath pathNow(const SimState& s, int target, double horizonS) {
    return predictTrajectory(predictionRequest(s, horizonS, target));
}

}  // namespace

TEST(NavigationFigures, PanelAndBannerAgreeOnEveryFrameOfAnApproach) {
    Delivered d;
    SimState& s = d.state;
    selectTarget(s, d.moon);
    // Z to 20 radii and jump, then coast past the Moon in frames of 20 s; the path over 3 h is
    // renewed every 680 s, as the program renews it every sixteenth of its horizon.
    for (int p = 0; p < 5; ++p) requestJumpToTarget(s);
    d.step(1);
    s.latches[kJump] = 1;
    d.step(1);
    s.latches[kJump] = 0;
    PredictedPath path;
    int sources[3] = {};
    for (int frame = 0; frame < 700; ++frame) {
        if (frame % 34 == 0) path = pathNow(s, d.moon, 3 * 3600);
        d.step(1, 20);
        const NavigationFigures f = computeNavigationFigures(s, d.moon, &path);
        ++sources[static_cast<int>(f.approach)];
        const std::string panel = composeTargetPanel(s, f);
        const std::vector<std::string> banner = navigationBannerLines(f, "Moon");
        ASSERT_EQ(banner.size(), f.approach == ApproachSource::None ? 2u : 3u);
        const double panelKm = numberAfter(panel, "DISTANCE ");
        const double bannerKm = numberAfter(banner[0], "Moon: ");
        ASSERT_NEAR(panelKm, bannerKm, 0.001 * std::fabs(panelKm)) << frame << "\n" << panel << "\n" << banner[0];
        ASSERT_GE(f.closestInS, 0.0) << frame;
        if (f.approach == ApproachSource::None) {
            EXPECT_NE(panel.find("receding"), std::string::npos) << frame;
            EXPECT_EQ(banner[1].rfind("Receding", 0), 0u) << frame;
        } else {
            const std::string when = durationText(f.closestInS);
            EXPECT_NE(panel.find("CLOSEST IN       " + when), std::string::npos) << frame << "\n" << panel;
            EXPECT_NE(banner[1].find("in " + when), std::string::npos) << frame << "\n" << banner[1];
            EXPECT_NE(panel.find(banner[2]), std::string::npos) << frame << "\n" << banner[2];
        }
    }
    // The approach was seen on the path most of the time, and the ship receded after it.
    EXPECT_GT(sources[static_cast<int>(ApproachSource::PredictedPath)], 300);
    EXPECT_GT(sources[static_cast<int>(ApproachSource::None)], 0);
}

TEST(NavigationFigures, APathIsUsedOnlyWhileItIsCurrentAndNeverForAClosestApproachInThePast) {
    struct Case {
        const char* what;
        double waitS;       // mission time after the path was started
        bool jumpFirst;     // a jump after the path was started
        ApproachSource expected;
    };
    const std::vector<Case> cases = {
        {"fresh", 0, false, ApproachSource::PredictedPath},
        {"half its horizon on", 1800, false, ApproachSource::PredictedPath},
        {"a jump since", 0, true, ApproachSource::StraightCourse},
        {"after its closest approach", 3500, false, ApproachSource::None},
        {"beyond its horizon", 4000, false, ApproachSource::None},
    };
    for (const Case& c : cases) {
        Delivered d;
        SimState& s = d.state;
        selectTarget(s, d.moon);
        requestFaceTarget(s);
        d.step(1);
        // 10,000 km from the Moon, closing at 3 km/s on a course that passes 3,000 km from its
        // centre after about 3,200 s.
        SimObject& ship = s.observer();
        const SimObject& moon = s.objects[static_cast<size_t>(d.moon)];
        const Vec3f to = normalize(moon.positionKm - ship.positionKm);
        const Vec3f side = normalize(cross(to, Vec3f{0, 1, 0}));
        ship.positionKm = moon.positionKm - to * 10000.0f + side * 3000.0f;
        ship.velocityKmPerS = moon.velocityKmPerS + to * 3.0f;
        s.integrator.setUp(s.objects);
        const PredictedPath path = pathNow(s, d.moon, 3600);
        ASSERT_TRUE(path.valid);
        if (c.jumpFirst) {
            ship.jumpDistanceKm = 2000;
            s.latches[kJump] = 1;
            d.step(1);
            s.latches[kJump] = 0;
        }
        if (c.waitS > 0) d.step(static_cast<int>(c.waitS / 10), 10);
        const NavigationFigures f = computeNavigationFigures(s, d.moon, &path);
        EXPECT_EQ(f.approach, c.expected) << c.what;
        EXPECT_GE(f.closestInS, 0.0) << c.what;
        if (f.approach == ApproachSource::PredictedPath) {
            // The path's own closest approach, counted from now.
            EXPECT_NEAR(f.closestInS + c.waitS, path.closestTimeS, 20) << c.what;
            EXPECT_NEAR(f.closestCentreKm, path.closestKm, 1) << c.what;
            EXPECT_LT(f.closestCentreKm, 3000) << c.what;  // the Moon's pull bends the course inwards
        }
    }
}
