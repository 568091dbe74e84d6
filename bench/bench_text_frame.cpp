// What text costs per frame in the off-screen back buffer: a keyboard help page's worth (40 lines
// of 60 characters) and a heads-up display's worth (12 lines of 40), against clearing the frame
// alone as the baseline. Each iteration clears, draws and waits for GL to finish, so the wall time
// includes Mesa's rasteriser; the CPU time is the drawing thread's alone.
#include <benchmark/benchmark.h>

#include <epoxy/gl.h>

#include <cstdio>
#include <memory>
#include <string>

#include "fastest_runs.h"
#include "gl_device.h"
#include "gl_offscreen_context.h"
#include "text_font.h"

namespace {

constexpr int kW = 640, kH = 120;

struct Fixture {
    GlOffscreenContext context;
    GlDevice device;
    std::unique_ptr<TextFont> font;
    bool ok = false;

    Fixture() {
        if (!context.create() || !device.init() || !device.resizeBackBuffer(kW, kH)) return;
        font = std::make_unique<TextFont>("Terminal", 8, kFontDepthTest);
        ok = font->onDeviceCreated(&device) == 0 && font->onDeviceReset() == 0;
    }
    ~Fixture() {
        if (!font) return;
        font->onDeviceLost();
        font->onDeviceDestroyed();
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

// A line of the given length with a blank every seventh character, as text has.
std::string textLine(size_t length) {
    std::string line(length, 'x');
    for (size_t i = 0; i < line.size(); i += 7) line[i] = ' ';
    return line;
}

// range(0) lines of range(1) characters, range(2) pixels apart; no line is the cleared frame alone.
void BM_TextFrame(benchmark::State& st) {
    Fixture& f = fixture();
    if (!f.ok) {
        st.SkipWithError("no OpenGL or no font");
        return;
    }
    const std::string line = textLine(static_cast<size_t>(st.range(1)));
    const float spacing = static_cast<float>(st.range(2));
    for (auto _ : st) {
        f.device.clear(true, 0xFF000000, true);
        for (int64_t l = 0; l < st.range(0); ++l)
            f.font->drawText(4, 4.0f + spacing * static_cast<float>(l), 0xFFFFFFFF, line.c_str());
        glFinish();
    }
}

}  // namespace

BENCHMARK(BM_TextFrame)->Args({0, 0, 0})->Args({40, 60, 2})->Args({12, 40, 8})->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    FastestRunReporter reporter;
    if (!runBenchmarks(argc, argv, reporter)) return 1;
    const double cleared = reporter.seconds("BM_TextFrame/0/0/0");
    for (const char* args : {"40/60/2", "12/40/8"}) {
        const double text = reporter.seconds(std::string("BM_TextFrame/") + args);
        if (cleared > 0 && text > 0)
            std::printf("text frame %s (lines/characters/spacing): %.3f ms, %.1f times a cleared frame (%.3f ms)\n",
                        args, text * 1e3, text / cleared, cleared * 1e3);
    }
    return 0;
}
