// What writing the exact replay side file adds to a recorded frame at N = 100: one whole frame step
// as the baseline, the same frame with the side file's work, and that work alone (input capture,
// state digest, frame line). The summary prints the share of a frame.
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include "exact_replay_recorder.h"
#include "fastest_runs.h"
#include "frame_step.h"
#include "sim_state.h"

namespace {

constexpr size_t kObjects = 100;

// A fixed-seed star system: bodies scattered over 1e8 km, the observer last with a firing
// thruster, in live mode, recording into a temporary data directory.
SimState makeState(const std::string& dataDir) {
    SimState s;
    s.runMode = 1;
    s.dataDirectory = dataDir;
    s.recordingTitle = "Bench";
    std::mt19937 rng(12345);
    std::uniform_real_distribution<float> pos(-1e8f, 1e8f), vel(-30.0f, 30.0f), mass(1e22f, 1e27f);
    s.objects.resize(kObjects);
    for (SimObject& o : s.objects) {
        o.massKg = mass(rng);
        o.positionKm = {pos(rng), pos(rng), pos(rng)};
        o.velocityKmPerS = {vel(rng), vel(rng), vel(rng)};
        o.meshPath = "mesh.x";
        o.spinRate = 0.01f;
    }
    SimObject& ship = s.observer();
    ship.isObserver = 1;
    ship.massKg = 1e5f;
    ship.meshPath = kNaPath;
    ship.forwardDirection = {0, 0, 1};
    ship.upDirection = {0, 1, 0};
    ship.rightDirection = {1, 0, 0};
    ship.nominalForceKN = {300, 0, 0};
    ship.energyKJ = 1e10f;
    s.energyKJ = ship.energyKJ;
    s.latches[kForwardThrusterForward] = 1;
    s.keyState.keys[KeyCode::W] = 0x80;
    s.integrator.setUp(s.objects);
    return s;
}

std::string makeDataDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "celestrix_bench_XXXXXX").string();
    if (!::mkdtemp(pattern.data())) return {};
    std::filesystem::create_directories(pattern + "/Recordings/Bench");
    return pattern + "/";
}

constexpr float kFrameS = 0.0166667f;

void BM_Frame(benchmark::State& bs) {
    std::string dir = makeDataDir();
    SimState s = makeState(dir);
    FrameStepHooks hooks;
    FrameInput in;
    in.elapsedS = kFrameS;
    for (auto _ : bs) benchmark::DoNotOptimize(stepSimulation(s, in, hooks));
    std::filesystem::remove_all(dir);
}

// The recorder as a recording run calls it: a sequence is open and every frame gets its line.
void startRecording(ExactReplayRecorder& recorder, SimState& s) {
    s.flags.recordingOn = 1;
    recorder.beforeFrame(s, kFrameS, true);
    recorder.afterRecordingStep(s, true, 1);
    recorder.afterFrame(s);
}

void BM_FrameWithSideFile(benchmark::State& bs) {
    std::string dir = makeDataDir();
    SimState s = makeState(dir);
    FrameStepHooks hooks;
    FrameInput in;
    in.elapsedS = kFrameS;
    {
        ExactReplayRecorder recorder;
        startRecording(recorder, s);
        for (auto _ : bs) {
            recorder.beforeFrame(s, kFrameS, true);
            benchmark::DoNotOptimize(stepSimulation(s, in, hooks));
            recorder.afterRecordingStep(s, true, 1);
            recorder.afterFrame(s);
        }
    }
    std::filesystem::remove_all(dir);
}

void BM_SideFileOnly(benchmark::State& bs) {
    std::string dir = makeDataDir();
    SimState s = makeState(dir);
    {
        ExactReplayRecorder recorder;
        startRecording(recorder, s);
        for (auto _ : bs) {
            recorder.beforeFrame(s, kFrameS, true);
            recorder.afterRecordingStep(s, true, 1);
            recorder.afterFrame(s);
        }
    }
    std::filesystem::remove_all(dir);
}

// Wall-clock time (the gravity sum may use a second thread at this size); the fastest of several
// repetitions counts, so that other load on the machine disturbs the figures less.
BENCHMARK(BM_Frame)->Unit(benchmark::kMicrosecond)->UseRealTime()->Repetitions(5);
BENCHMARK(BM_FrameWithSideFile)->Unit(benchmark::kMicrosecond)->UseRealTime()->Repetitions(5);
BENCHMARK(BM_SideFileOnly)->Unit(benchmark::kMicrosecond)->UseRealTime()->Repetitions(5);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    FastestRunReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    const double frame = reporter.seconds("BM_Frame");
    const double with = reporter.seconds("BM_FrameWithSideFile");
    const double only = reporter.seconds("BM_SideFileOnly");
    if (frame <= 0 || with <= 0 || only <= 0) return 0;
    std::printf("\nN=%zu: frame %.2f us, frame with side file %.2f us (%+.2f %%), side file work alone "
                "%.3f us (%.2f %% of a frame)\n",
                kObjects, frame * 1e6, with * 1e6, (with / frame - 1) * 100, only * 1e6,
                only / frame * 100);
    return 0;
}
