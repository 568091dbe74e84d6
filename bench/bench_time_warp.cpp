// Time warp and prediction costs against the warp-1 frame step in the same process:
//   frame at warp 1 (baseline) and at warp 100,000 (the shipped configuration, N = 11);
//   the frame's share of the prediction (trigger, copy of the state, hand-over) at N = 11 and
//   N = 1000, against the warp-1 frame at the same N; the prediction itself on its worker; the
//   step bound. The shipped data directory is read in place (nothing is written).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <string>

#include "fastest_runs.h"
#include "frame_step.h"
#include "prediction_worker.h"
#include "startup.h"
#include "step_bound.h"
#include "time_warp.h"

namespace {

SimState shippedState() {
    SimState s;
    s.runMode = 1;
    s.dataDirectory = CELESTRIX_DATA_SOURCE;
    if (auto error = loadStartupState(s)) {
        std::fprintf(stderr, "cannot load %s: %s\n", error->path.c_str(), error->message.c_str());
        std::exit(1);
    }
    fillSceneState(s);
    return s;
}

// N objects: the shipped system, then bodies scattered over 1e9 km up to N (the ship last).
SimState systemOf(size_t n) {
    SimState s = shippedState();
    if (n <= s.objects.size()) return s;
    std::mt19937 rng(12345);
    std::uniform_real_distribution<float> pos(-1e9f, 1e9f), vel(-20.0f, 20.0f), mass(1e15f, 1e21f);
    SimObject ship = s.objects.back();
    s.objects.pop_back();
    while (s.objects.size() + 1 < n) {
        SimObject o;
        o.massKg = mass(rng);
        o.equatorialRadiusKm = o.polarRadiusKm = 100;
        o.positionKm = {pos(rng), pos(rng), pos(rng)};
        o.velocityKmPerS = {vel(rng), vel(rng), vel(rng)};
        s.objects.push_back(o);
    }
    s.objects.push_back(ship);
    s.configEntries.resize(s.objects.size() - 1);
    s.integrator.setUp(s.objects);
    return s;
}

constexpr float kElapsedS = 1.0f / 60;

void BM_FrameAtWarp1(benchmark::State& bs) {
    SimState s = systemOf(static_cast<size_t>(bs.range(0)));
    FrameStepHooks hooks;
    for (auto _ : bs) {
        FrameInput in;
        in.elapsedS = resolveWarpedFrameTime(s, kElapsedS);
        stepSimulation(s, in, hooks);
        benchmark::DoNotOptimize(s.observer().positionKm);
    }
}

void BM_FrameAtWarp100000(benchmark::State& bs) {
    SimState s = systemOf(static_cast<size_t>(bs.range(0)));
    FrameStepHooks hooks;
    double substeps = 0, drops = 0;
    for (auto _ : bs) {
        s.warp.level = 5;
        FrameInput in;
        in.elapsedS = resolveWarpedFrameTime(s, kElapsedS);
        if (!s.warp.frameWarped) ++drops;
        stepSimulation(s, in, hooks);
        substeps += s.warp.substeps;
        benchmark::DoNotOptimize(s.observer().positionKm);
    }
    bs.counters["substeps"] = benchmark::Counter(substeps, benchmark::Counter::kAvgIterations);
    bs.counters["drops"] = benchmark::Counter(drops, benchmark::Counter::kAvgIterations);
}

// What a frame pays when it asks for a new prediction: the trigger, the copy, the hand-over and
// the take. Every iteration asks (the worst case); the worker computes meanwhile.
void BM_PredictionShareOfFrame(benchmark::State& bs) {
    SimState s = systemOf(static_cast<size_t>(bs.range(0)));
    PredictionWorker worker;
    PredictionTrigger trigger;
    double horizon = 3 * 3600.0;
    for (auto _ : bs) {
        horizon = horizon == 3 * 3600.0 ? 6 * 3600.0 : 3 * 3600.0;  // forces a request
        if (trigger.wanted(s, horizon, -1)) worker.submit(predictionRequest(s, horizon, -1));
        benchmark::DoNotOptimize(worker.take());
    }
    worker.waitIdle();
}

void predictionOnWorker(benchmark::State& bs, bool everyPull) {
    SimState s = systemOf(static_cast<size_t>(bs.range(0)));
    const double horizon = bs.range(1);
    double points = 0;
    for (auto _ : bs) {
        PredictionRequest request = predictionRequest(s, horizon, -1);
        request.everyPull = everyPull;
        PredictedPath path = predictTrajectory(std::move(request));
        points = static_cast<double>(path.ship.size());
        benchmark::DoNotOptimize(path.ship.data());
    }
    bs.counters["points"] = points;
    bs.counters["bound_s"] = stepBoundS(s.objects);
}

// The prediction as the simulator asks for it, and with the pulls among light objects kept (the
// scattered bodies of systemOf are all light: lighter than a hundred-millionth of the Sun).
void BM_PredictionOnWorker(benchmark::State& bs) { predictionOnWorker(bs, false); }
void BM_PredictionEveryPull(benchmark::State& bs) { predictionOnWorker(bs, true); }

// One step of the same system, the unit the step bound's cost is told in.
void BM_Step(benchmark::State& bs) {
    SimState s = systemOf(static_cast<size_t>(bs.range(0)));
    for (auto _ : bs) s.integrator.step(1.0, s.objects);
}

void BM_StepBound(benchmark::State& bs) {
    SimState s = systemOf(static_cast<size_t>(bs.range(0)));
    for (auto _ : bs) benchmark::DoNotOptimize(stepBoundS(s.objects));
    bs.counters["bound_s"] = stepBoundS(s.objects);
}

BENCHMARK(BM_FrameAtWarp1)->Arg(11)->Arg(1000)->Unit(benchmark::kMicrosecond)->UseRealTime()->Repetitions(3);
BENCHMARK(BM_FrameAtWarp100000)->Arg(11)->Unit(benchmark::kMicrosecond)->UseRealTime()->Repetitions(3);
BENCHMARK(BM_PredictionShareOfFrame)->Arg(11)->Arg(1000)->Unit(benchmark::kMicrosecond)->UseRealTime()
    ->Repetitions(3);
BENCHMARK(BM_PredictionOnWorker)->Args({11, 3 * 3600})->Args({11, 30 * 86400})->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_PredictionOnWorker)->Args({1000, 3 * 3600})->Args({1000, 30 * 86400})
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_PredictionEveryPull)->Args({1000, 3 * 3600})->Args({1000, 30 * 86400})
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_StepBound)->Arg(11)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Step)->Arg(1000)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    FastestRunReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    auto ms = [&](const std::string& name) { return reporter.seconds(name) * 1e3; };
    const double w1 = ms("BM_FrameAtWarp1/11"), w5 = ms("BM_FrameAtWarp100000/11");
    if (w1 > 0 && w5 > 0)
        std::printf("\nN=11: frame step at warp 1 %.4f ms, at warp 100,000 %.4f ms (+%.4f ms, ratio %.1f)\n",
                    w1, w5, w5 - w1, w5 / w1);
    const double bound = ms("BM_StepBound/1000"), step = ms("BM_Step/1000");
    if (bound > 0 && step > 0)
        std::printf("N=1000: step bound %.4f ms against a step of %.4f ms (%.1f %%)\n", bound, step,
                    100 * bound / step);
    for (const char* n : {"11", "1000"}) {
        const double base = ms(std::string("BM_FrameAtWarp1/") + n);
        const double share = ms(std::string("BM_PredictionShareOfFrame/") + n);
        if (base > 0 && share > 0)
            std::printf("N=%s: prediction's share of a frame %.4f ms against a warp-1 frame step of %.4f ms "
                    "(ratio %.2f)\n", n, share, base, share / base);
    }
    for (const char* h : {"10800", "2592000"}) {
        const double some = ms(std::string("BM_PredictionOnWorker/1000/") + h),
                     every = ms(std::string("BM_PredictionEveryPull/1000/") + h);
        if (some > 0 && every > 0)
            std::printf("N=1000, %s s ahead: prediction %.0f ms, with the pulls among light objects %.0f ms "
                        "(%.1f x)\n", h, some, every, every / some);
    }
    return 0;
}
