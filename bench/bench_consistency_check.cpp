// Times the consistency check of a selected list of 10, 100 and 1000 objects: the check that
// reads each object file once against a literal per-item reader that opens the file again for
// every value (about eight million opens in the collision pass at 1000 objects).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "consistency_check.h"
#include "literal_consistency_check.h"
#include "object_file.h"

namespace {

// A data directory with 999 planets scattered over 1e9 km and an observer, written with the
// simulator's writer; made once and removed at exit.
class BenchData {
public:
    BenchData() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "celestrix_bench_XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        dir = pattern + "/";
        std::filesystem::create_directories(dir + "Objects");
        std::mt19937 rng(7);
        std::uniform_real_distribution<float> pos(-1e9f, 1e9f);
        for (int i = 0; i < 1000; ++i) {
            SimObject o;
            o.massKg = 1e24f;
            o.positionKm = {pos(rng), pos(rng), pos(rng)};
            o.orbitalPosition1Km = o.positionKm;
            o.equatorialRadiusKm = o.polarRadiusKm = 5000;
            o.meshPath = dir + "Media/Models/sphere.x";
            (i == 999 ? o.isObserver : o.isPlanet) = 1;
            o.ownPath = dir + "Objects/Obj" + std::to_string(i) + ".cfg";
            if (!writeObjectFile(o, dir)) throw std::runtime_error("cannot write " + o.ownPath);
        }
    }
    ~BenchData() {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    // The first count - 1 planets and the observer.
    std::vector<CheckRow> rows(size_t count) const {
        std::vector<CheckRow> out;
        for (size_t i = 0; i < count; ++i) {
            size_t object = i + 1 == count ? 999 : i;
            out.push_back({"Obj" + std::to_string(object), std::to_string(i + 1), "none"});
        }
        return out;
    }
    std::string dir;
};

const BenchData& data() {
    static BenchData d;
    return d;
}

void BM_CheckReadingEachFileOnce(benchmark::State& state) {
    const auto rows = data().rows(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        CheckOutcome out = checkSelectedObjects(rows, data().dir);
        if (out.reason != kListConsistent) state.SkipWithError("unexpected reason");
        benchmark::DoNotOptimize(out);
    }
}

void BM_CheckReadingPerItem(benchmark::State& state) {
    const auto rows = data().rows(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        int reason = literal::checkReason(rows, data().dir);
        if (reason != kListConsistent) state.SkipWithError("unexpected reason");
        benchmark::DoNotOptimize(reason);
    }
}

}  // namespace

BENCHMARK(BM_CheckReadingEachFileOnce)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
// The baseline at 1000 rows takes tens of seconds: one iteration is enough for the ratio.
BENCHMARK(BM_CheckReadingPerItem)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckReadingPerItem)->Arg(1000)->Iterations(1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
