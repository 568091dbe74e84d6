// Times one RK4 gravity step for 10, 100 and 1000 objects: the simulator's integrator against a
// literal per-component implementation (heap block per object, std::pow) as the baseline.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "integrator.h"
#include "literal_integrator.h"
#include "sim_object.h"

namespace {

// A fixed-seed star system: bodies scattered over 1e8 km with planet-like masses, the observer
// last with a firing thruster.
std::vector<SimObject> makeSystem(size_t count) {
    std::mt19937 rng(12345);
    std::uniform_real_distribution<float> pos(-1e8f, 1e8f), vel(-30.0f, 30.0f), mass(1e22f, 1e27f);
    std::vector<SimObject> objects(count);
    for (SimObject& o : objects) {
        o.massKg = mass(rng);
        o.positionKm = {pos(rng), pos(rng), pos(rng)};
        o.velocityKmPerS = {vel(rng), vel(rng), vel(rng)};
    }
    SimObject& ship = objects.back();
    ship.isObserver = 1;
    ship.massKg = 1e5f;
    ship.forwardDirection = {0, 0, 1};
    ship.upDirection = {0, 1, 0};
    ship.rightDirection = {1, 0, 0};
    ship.actingForceKN = {300, 0, 0};
    return objects;
}

void BM_FastStep(benchmark::State& state) {
    auto objects = makeSystem(static_cast<size_t>(state.range(0)));
    IntegratorState integrator;
    integrator.setUp(objects);
    for (auto _ : state) {
        integrator.step(0.0166667, objects);
        benchmark::DoNotOptimize(integrator.readBack(0, 0));
    }
}

// The same on one thread, timed by its CPU time: the kernel's cost even on a busy machine.
void BM_FastStepOneThread(benchmark::State& state) {
    auto objects = makeSystem(static_cast<size_t>(state.range(0)));
    IntegratorState integrator;
    integrator.setThreadCount(1);
    integrator.setUp(objects);
    for (auto _ : state) {
        integrator.step(0.0166667, objects);
        benchmark::DoNotOptimize(integrator.readBack(0, 0));
    }
}

// One thread by wall-clock time: the baseline of the second thread's gain.
void BM_FastStepOneThreadWall(benchmark::State& state) {
    BM_FastStepOneThread(state);
}

// One thread on one kernel path (0 portable, 1 AVX2, 2 AVX-512), by CPU time: what each path costs
// on this processor, since every path gives the same bits and only the widest runs by default.
void BM_PathOneThread(benchmark::State& state) {
    const IntegratorPath paths[] = {IntegratorPath::Scalar, IntegratorPath::Avx2, IntegratorPath::Avx512};
    const IntegratorPath path = paths[state.range(0)];
    if (!IntegratorState::pathSupported(path)) {
        state.SkipWithError("path not supported by this processor");
        return;
    }
    auto objects = makeSystem(static_cast<size_t>(state.range(1)));
    IntegratorState integrator;
    integrator.setThreadCount(1);
    integrator.setPath(path);
    integrator.setUp(objects);
    for (auto _ : state) {
        integrator.step(0.0166667, objects);
        benchmark::DoNotOptimize(integrator.readBack(0, 0));
    }
}

void BM_LiteralStep(benchmark::State& state) {
    auto objects = makeSystem(static_cast<size_t>(state.range(0)));
    LiteralIntegrator integrator(objects);
    for (auto _ : state) {
        integrator.step(0.0166667);
        benchmark::DoNotOptimize(integrator.value(0, 0));
    }
}

// The fast step by wall-clock time (it may use a second thread), the single-threaded ones by CPU
// time; repeated, and the summary takes the fastest repetition, so that other load on the machine
// disturbs the figures less.
BENCHMARK(BM_FastStep)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond)
    ->UseRealTime()->Repetitions(5);
BENCHMARK(BM_FastStepOneThread)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond)
    ->Repetitions(5);
BENCHMARK(BM_FastStepOneThreadWall)->Arg(1000)->Unit(benchmark::kMicrosecond)->UseRealTime()
    ->Repetitions(5);
BENCHMARK(BM_PathOneThread)->Args({0, 1000})->Args({1, 1000})->Args({2, 1000})
    ->Unit(benchmark::kMicrosecond)->Repetitions(3);
BENCHMARK(BM_LiteralStep)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond)
    ->Repetitions(3);

// Console output as usual, and the fastest repetition's time per step of every benchmark kept for
// the summary, keyed by name without the repetition and timing suffixes.
class CollectingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.iterations <= 0) continue;
            std::string name = run.run_name.function_name + "/" + run.run_name.args;
            // Single-threaded code by CPU time, the possibly two-threaded fast step by wall time.
            double total = run.run_name.function_name == "BM_FastStep" ||
                                   run.run_name.function_name == "BM_FastStepOneThreadWall"
                               ? run.real_accumulated_time
                               : run.cpu_accumulated_time;
            double seconds = total / static_cast<double>(run.iterations);
            auto it = secondsPerStep.find(name);
            if (it == secondsPerStep.end() || seconds < it->second) secondsPerStep[name] = seconds;
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> secondsPerStep;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    IntegratorState probe;
    const char* pathNames[] = {"auto", "scalar", "avx2", "avx512"};
    std::printf("\nkernel path: %s\n", pathNames[static_cast<int>(probe.activePath())]);
    for (int n : {10, 100, 1000}) {
        auto fast = reporter.secondsPerStep.find("BM_FastStep/" + std::to_string(n));
        auto literal = reporter.secondsPerStep.find("BM_LiteralStep/" + std::to_string(n));
        if (fast == reporter.secondsPerStep.end() || literal == reporter.secondsPerStep.end())
            continue;
        std::printf("N=%d: fast %.4f ms, literal %.4f ms, ratio %.1f\n", n, fast->second * 1e3,
                    literal->second * 1e3, literal->second / fast->second);
        auto oneThread = reporter.secondsPerStep.find("BM_FastStepOneThread/" + std::to_string(n));
        if (oneThread != reporter.secondsPerStep.end())
            std::printf("      one thread (CPU time) %.4f ms, ratio %.1f\n", oneThread->second * 1e3,
                        literal->second / oneThread->second);
        const char* widths[] = {"portable", "AVX2", "AVX-512"};
        for (int p = 0; p < 3; ++p) {
            auto path = reporter.secondsPerStep.find("BM_PathOneThread/" + std::to_string(p) + "/" +
                                                     std::to_string(n));
            if (path != reporter.secondsPerStep.end())
                std::printf("      %s path, one thread (CPU time) %.4f ms, ratio %.1f\n", widths[p],
                            path->second * 1e3, literal->second / path->second);
        }
        auto oneWall = reporter.secondsPerStep.find("BM_FastStepOneThreadWall/" + std::to_string(n));
        if (oneWall != reporter.secondsPerStep.end())
            std::printf("      two threads against one (both wall time): %.2f x\n",
                        oneWall->second / fast->second);
    }
    return 0;
}
