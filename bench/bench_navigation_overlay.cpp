// What the navigation overlay (body markers, target bracket, target panel) costs per frame at
// 1280 x 720, with the delivered configuration (11 objects) and with 1000 objects, against the
// heads-up text block of the same state drawn the same way as the baseline. Each iteration draws
// into the off-screen back buffer and waits for GL to finish, so the time includes Mesa's work.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>

#include "gl_device.h"
#include "gl_offscreen_context.h"
#include "hud_display.h"
#include "hud_text.h"
#include "navigation_figures.h"
#include "navigation_overlay.h"
#include "startup.h"
#include "target_navigation.h"
#include "text_font.h"

#include <epoxy/gl.h>

namespace {

constexpr int kW = 1280, kH = 720;

struct Fixture {
    GlOffscreenContext context;
    GlDevice device;
    std::unique_ptr<TextFont> font;
    HudIcons icons;
    std::string dataDir;
    bool ok = false;

    Fixture() {
        dataDir = (std::filesystem::temp_directory_path() / "celestrix_bench_nav/").string();
        std::filesystem::remove_all(dataDir);
        std::filesystem::copy(CELESTRIX_DATA_SOURCE, dataDir, std::filesystem::copy_options::recursive);
        if (!context.create() || !device.init() || !device.resizeBackBuffer(kW, kH)) return;
        font = std::make_unique<TextFont>("Terminal", 8, kFontDepthTest);
        if (font->onDeviceCreated(&device) != 0 || font->onDeviceReset() != 0) return;
        if (createHudIcons(icons, dataDir, kW, kH)) return;
        ok = true;
    }
    ~Fixture() { std::filesystem::remove_all(dataDir); }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

// The delivered state, turned to Jupiter with Jupiter as the target, plus extra small bodies in
// every direction up to objects in all.
SimState makeState(size_t objects) {
    SimState s;
    s.runMode = 1;
    s.dataDirectory = fixture().dataDir;
    if (loadStartupState(s)) return s;
    fillSceneState(s);
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> unit(-1, 1), far(1e6f, 1e9f);
    SimObject extra = s.objects[1];  // a planet: Mercury
    for (size_t i = s.objects.size(); i < objects; ++i) {
        Vec3f d = normalize({unit(rng), unit(rng), unit(rng)});
        extra.positionKm = s.observer().positionKm + d * far(rng);
        s.objects.insert(s.objects.end() - 1, extra);
        s.configEntries.insert(s.configEntries.end() - 1, "Asteroid" + std::to_string(i) + ".cfg");
    }
    for (size_t t = 0; t + 1 < s.objects.size(); ++t)
        if (s.configEntries[t] == "Jupiter.cfg") selectTarget(s, static_cast<int>(t));
    requestFaceTarget(s);
    applyNavigationRequests(s);
    return s;
}

void BM_HeadsUpTextBlock(benchmark::State& st) {
    Fixture& f = fixture();
    if (!f.ok) {
        st.SkipWithError("no OpenGL");
        return;
    }
    SimState s = makeState(static_cast<size_t>(st.range(0)));
    HudText text;
    composeHud(text, s);
    for (auto _ : st) {
        drawHudBlock(f.device, f.icons, *f.font, text, s);
        glFinish();
    }
}

void BM_NavigationOverlay(benchmark::State& st) {
    Fixture& f = fixture();
    if (!f.ok) {
        st.SkipWithError("no OpenGL");
        return;
    }
    SimState s = makeState(static_cast<size_t>(st.range(0)));
    HudText text;
    composeHud(text, s);
    NavigationOverlay overlay;
    const std::vector<ScreenBox> noControls;
    for (auto _ : st) {
        const NavigationFigures figures = computeNavigationFigures(s, s.nav.target);
        overlay.draw(f.device, s, figures, text, *f.font, f.icons.background, kW, kH, noControls);
        glFinish();
    }
}

// The layout alone (projection, marker squares and label placement), without GL.
void BM_MarkerLayoutOnly(benchmark::State& st) {
    SimState s = makeState(static_cast<size_t>(st.range(0)));
    std::vector<BodyOnScreen> bodies;
    BodyMarkers markers;
    ScreenShapes shapes;
    for (auto _ : st) {
        placeBodiesOnScreen(s, kW, kH, bodies);
        shapes.clear();
        markers.layout(s, bodies, kW, kH, 7, 12, shapes);
        benchmark::DoNotOptimize(markers.labels().data());
    }
}

}  // namespace

BENCHMARK(BM_HeadsUpTextBlock)->Arg(11)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NavigationOverlay)->Arg(11)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MarkerLayoutOnly)->Arg(11)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
