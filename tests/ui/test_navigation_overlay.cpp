// The navigation overlay's layout and text without GL: the target panel's figures and when it
// shows, marker colours and labels that give way to nearer bodies' labels, and clicks that belong
// to the on-screen controls.
#include <gtest/gtest.h>

#include <cmath>

#include "body_markers.h"
#include "gui_components.h"
#include "navigation_overlay.h"
#include "navigation_figures.h"
#include "sky_projection.h"
#include "target_panel.h"

namespace {

constexpr int kW = 1280, kH = 720;

// A sun, a planet orbiting it, a moon orbiting the planet and the observer, looking along +Z
// (identity camera) at bodies far ahead.
SimState smallSystem() {
    SimState s;
    s.runMode = 1;
    s.objects.resize(4);
    s.configEntries = {"Sun.cfg", "Earth.cfg", "Moon.cfg", "Observer.cfg"};
    SimObject& sun = s.objects[0];
    sun.isStar = 1;
    sun.massKg = 1.989e30f;
    sun.equatorialRadiusKm = sun.polarRadiusKm = 696000;
    sun.positionKm = {0, 0, 1.5e9f};
    SimObject& earth = s.objects[1];
    earth.orbitedObject = 1;
    earth.massKg = 5.97217e24f;
    earth.equatorialRadiusKm = earth.polarRadiusKm = 6378.14f;
    earth.positionKm = {0, 0, 1e7f};
    SimObject& moon = s.objects[2];
    moon.orbitedObject = 2;
    moon.massKg = 7.35e22f;
    moon.equatorialRadiusKm = moon.polarRadiusKm = 1738;
    moon.positionKm = {1e5f, 0, 1e7f};
    return s;
}

}  // namespace

TEST(TargetPanel, FiguresOfBoundAndUnboundShipsAndWhenItShows) {
    SimState s = smallSystem();
    EXPECT_EQ(composeTargetPanel(s, computeNavigationFigures(s, s.nav.target)), "");
    EXPECT_FALSE(targetPanelShown(s));

    // 400 km above Earth on a circular equatorial orbit, from the integrator's state.
    s.nav.target = 1;
    s.objects[1].positionKm = {0, 0, 0};
    s.objects[1].velocityKmPerS = {30, 0, 0};
    const double r = 6778.14, v = std::sqrt(kGravityKm3PerKgS2 * 5.97217e24 / r);
    s.observer().positionKm = s.objects[1].positionKm + Vec3f{0, 0, static_cast<float>(r)};
    s.observer().velocityKmPerS = s.objects[1].velocityKmPerS + Vec3f{static_cast<float>(-v), 0, 0};
    s.integrator.setUp(s.objects);
    std::string text = composeTargetPanel(s, computeNavigationFigures(s, s.nav.target));
    EXPECT_NE(text.find("TARGET          Earth\n"), std::string::npos) << text;
    EXPECT_NE(text.find("DISTANCE         4.0000e+02 km above surface"), std::string::npos) << text;
    EXPECT_NE(text.find("PERIOD                92.5"), std::string::npos) << text;
    EXPECT_NE(text.find("INCLINATION            0.00 deg"), std::string::npos) << text;
    EXPECT_NE(text.find("Z ALTITUDE      1 x radius"), std::string::npos) << text;
    EXPECT_TRUE(targetPanelShown(s));

    // Leaving fast: no orbit lines, no approach ahead.
    s.observer().velocityKmPerS = {30, 0, 50};
    s.integrator.setUp(s.objects);
    text = composeTargetPanel(s, computeNavigationFigures(s, s.nav.target));
    EXPECT_EQ(text.find("PERIOD"), std::string::npos);
    EXPECT_NE(text.find("CLOSEST IN      receding"), std::string::npos);
    // Falling straight in at 10 km/s from 6778 km: the centre in 677 s (0 d 00:11:17).
    s.observer().velocityKmPerS = {30, 0, -10};
    s.integrator.setUp(s.objects);
    EXPECT_NE(composeTargetPanel(s, computeNavigationFigures(s, s.nav.target)).find("CLOSEST IN       0 d 00:11:17"), std::string::npos);

    // F2 hides it with the heads-up display; the keyboard help, which hangs in the same corner, too.
    s.latches[kHudHidden] = 1;
    EXPECT_FALSE(targetPanelShown(s));
    s.latches[kHudHidden] = 0;
    s.flags.keyboardHelpShown = 1;
    EXPECT_FALSE(targetPanelShown(s));
}

TEST(BodyMarkers, ColoursByKindAndLabelsGiveWayToNearerBodies) {
    SimState s = smallSystem();
    EXPECT_EQ(markerColour(s, 0), kStarMarkerArgb);
    EXPECT_EQ(markerColour(s, 1), kPlanetMarkerArgb);
    EXPECT_EQ(markerColour(s, 2), kMoonMarkerArgb);

    // Earth and the Moon 0.57 degrees apart (13 px), the Sun straight behind Earth: every body
    // has a square; Earth (the nearest) keeps its label, moved to the left of the Moon's square.
    std::vector<BodyOnScreen> bodies;
    placeBodiesOnScreen(s, kW, kH, bodies);
    ASSERT_EQ(bodies.size(), 3u);
    for (const BodyOnScreen& b : bodies) EXPECT_TRUE(b.marked());
    EXPECT_NEAR(bodies[1].x, kW / 2.0, 0.5);
    EXPECT_NEAR(bodies[1].y, kH / 2.0, 0.5);
    ScreenShapes shapes;
    BodyMarkers markers;
    markers.layout(s, bodies, kW, kH, 7, 12, shapes);
    // Earth's label beside its square; the others only where a free place is left beside theirs.
    ASSERT_GE(markers.labels().size(), 1u);
    ASSERT_LE(markers.labels().size(), 2u);
    EXPECT_EQ(markers.labels()[0].body, 1);
    // Far apart, all three are labelled.
    s.objects[2].positionKm = {2e6f, 1e6f, 1e7f};
    s.objects[0].positionKm = {-3e8f, 0, 1.5e9f};
    placeBodiesOnScreen(s, kW, kH, bodies);
    markers.layout(s, bodies, kW, kH, 7, 12, shapes);
    EXPECT_EQ(markers.labels().size(), 3u);
    // A body behind the camera has none.
    s.objects[2].positionKm = {0, 0, -1e7f};
    placeBodiesOnScreen(s, kW, kH, bodies);
    EXPECT_FALSE(bodies[2].marked());
    EXPECT_EQ(pickBody(bodies, bodies[2].x, bodies[2].y), bodies[2].x == bodies[1].x ? 1 : -1);
}

TEST(BodyMarkers, NoLabelTouchesAnotherLabelASquareOrAPanelInACrowdedSky) {
    struct Case {
        const char* what;
        float spreadKm;  // sideways spread of the bodies at 1e7 km
        int target;      // -1: none
        bool panel;      // a panel in the bottom-left corner to keep out of
    };
    const std::vector<Case> cases = {
        {"a tight cluster", 2e5f, -1, false},
        {"a cluster with a target", 2e5f, 5, false},
        {"a wide field by a panel", 6e6f, 3, true},
    };
    for (const Case& c : cases) {
        SimState s;
        s.runMode = 1;
        s.objects.resize(41);
        s.configEntries.clear();
        for (int i = 0; i < 40; ++i) {
            SimObject& o = s.objects[static_cast<size_t>(i)];
            o.massKg = 1e20f;
            o.equatorialRadiusKm = o.polarRadiusKm = 100;
            // A fixed scatter: bodies land near each other and on top of each other's labels.
            const float a = static_cast<float>((i * 7919) % 1000) / 1000.0f - 0.5f;
            const float b = static_cast<float>((i * 104729) % 1000) / 1000.0f - 0.5f;
            o.positionKm = {a * c.spreadKm, b * c.spreadKm * 0.6f, 1e7f + static_cast<float>(i) * 1e5f};
            s.configEntries.push_back("Body" + std::to_string(i) + ".cfg");
        }
        s.configEntries.push_back("Observer.cfg");
        s.nav.target = c.target;
        std::vector<BodyOnScreen> bodies;
        placeBodiesOnScreen(s, kW, kH, bodies);
        std::vector<ScreenBox> keepOut;
        if (c.panel) keepOut.push_back({0, 420, 500, kH});
        NavigationFigures figures = computeNavigationFigures(s, c.target);
        ScreenShapes shapes;
        BodyMarkers markers;
        markers.layout(s, bodies, kW, kH, 6, 12, shapes, keepOut, figures);
        const auto& labels = markers.labels();
        ASSERT_FALSE(labels.empty()) << c.what;
        auto overlap = [](float ax0, float ay0, float ax1, float ay1, float bx0, float by0, float bx1, float by1) {
            return ax0 < bx1 && bx0 < ax1 && ay0 < by1 && by0 < ay1;
        };
        bool targetLabelled = c.target < 0;
        for (size_t i = 0; i < labels.size(); ++i) {
            const MarkerLabel& l = labels[i];
            const float x1 = l.x + static_cast<float>(l.widthPx), y1 = l.y + static_cast<float>(l.heightPx);
            EXPECT_TRUE(l.x >= 0 && l.y >= 0 && x1 <= kW && y1 <= kH) << c.what;
            if (l.body == c.target) {
                targetLabelled = true;
                EXPECT_NE(l.text.find("km above surface"), std::string::npos) << c.what;
            }
            for (size_t j = i + 1; j < labels.size(); ++j) {
                const MarkerLabel& m = labels[j];
                EXPECT_FALSE(overlap(l.x, l.y, x1, y1, m.x, m.y, m.x + static_cast<float>(m.widthPx),
                                     m.y + static_cast<float>(m.heightPx)))
                    << c.what << ": " << l.text << " / " << m.text;
            }
            for (const BodyOnScreen& b : bodies) {
                if (!b.marked()) continue;
                const float h = kMarkerHalfSizePx + 1;
                EXPECT_FALSE(overlap(l.x, l.y, x1, y1, b.x - h, b.y - h, b.x + h, b.y + h))
                    << c.what << ": " << l.text << " over the square of " << b.body;
            }
            for (const ScreenBox& k : keepOut)
                EXPECT_FALSE(overlap(l.x, l.y, x1, y1, k.x0, k.y0, k.x1, k.y1)) << c.what << ": " << l.text;
        }
        EXPECT_TRUE(targetLabelled) << c.what;
    }
}

TEST(NavigationOverlay, ClicksOnShownControlsBelongToThem) {
    SimState s;
    s.runMode = 1;
    GuiControls gui;
    ASSERT_TRUE(gui.load(std::string(CELESTRIX_DATA_SOURCE) + "guispecs.cfg", CELESTRIX_DATA_SOURCE, kW, false,
                         liveGuiBindings(s)).ok);
    // The F6 button (top right) is always shown; the help button below it only with the others.
    EXPECT_TRUE(pointOnControls(gui, kW - 40 + 16, 8 + 16, false));
    EXPECT_TRUE(pointOnControls(gui, kW - 40 + 16, 8 + 16, true));
    EXPECT_FALSE(pointOnControls(gui, kW / 2, kH / 2, false));
    bool someHidden = false;
    for (int y = 44; y < 80 && !someHidden; ++y)
        for (int x = kW - 200; x < kW - 45 && !someHidden; ++x)
            someHidden = pointOnControls(gui, x, y, false) && !pointOnControls(gui, x, y, true);
    EXPECT_TRUE(someHidden);
}
