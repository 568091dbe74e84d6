// What the sky costs at start: reading the delivered star catalogue, against reading it and baking
// the two sky pictures from it.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "fastest_runs.h"
#include "sky_bake.h"

namespace {

const std::string kCatalogue = std::string(CELESTRIX_DATA_SOURCE) + "stars.txt";

// Reads the catalogue, and with range(0) = 1 bakes the sky pictures from it too.
void BM_Sky(benchmark::State& st) {
    for (auto _ : st) {
        auto stars = readStarCatalogue(kCatalogue);
        if (!stars) {
            st.SkipWithError("cannot read stars.txt");
            return;
        }
        benchmark::DoNotOptimize(stars->data());
        if (st.range(0) == 1) benchmark::DoNotOptimize(bakeSkyPictures(*stars).north.rgba.data());
    }
}

}  // namespace

BENCHMARK(BM_Sky)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    FastestRunReporter reporter;
    if (!runBenchmarks(argc, argv, reporter)) return 1;
    const double read = reporter.seconds("BM_Sky/0"), baked = reporter.seconds("BM_Sky/1");
    if (read > 0 && baked > 0)
        std::printf("\nread %.2f ms, read and baked %.2f ms: baking costs %.1f times the reading\n", read * 1e3,
                    baked * 1e3, (baked - read) / read);
    return 0;
}
