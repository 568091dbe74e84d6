// What the sky costs at start: reading the delivered star catalogue, against reading it and baking
// the two sky pictures from it.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "fastest_runs.h"
#include "sky_bake.h"

namespace {

const std::string kCatalogue = std::string(CELESTRIX_DATA_SOURCE) + "stars.txt";

void BM_ReadCatalogue(benchmark::State& st) {
    for (auto _ : st) {
        auto stars = readStarCatalogue(kCatalogue);
        if (!stars) {
            st.SkipWithError("cannot read stars.txt");
            return;
        }
        benchmark::DoNotOptimize(stars->data());
    }
}

void BM_ReadAndBake(benchmark::State& st) {
    for (auto _ : st) {
        auto stars = readStarCatalogue(kCatalogue);
        if (!stars) {
            st.SkipWithError("cannot read stars.txt");
            return;
        }
        SkyPictures sky = bakeSkyPictures(*stars);
        benchmark::DoNotOptimize(sky.north.rgba.data());
    }
}

}  // namespace

BENCHMARK(BM_ReadCatalogue)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadAndBake)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    FastestRunReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    const double read = reporter.seconds("BM_ReadCatalogue"), baked = reporter.seconds("BM_ReadAndBake");
    if (read > 0 && baked > 0)
        std::printf("\nread %.2f ms, read and baked %.2f ms: baking costs %.1f times the reading\n", read * 1e3,
                    baked * 1e3, (baked - read) / read);
    return 0;
}
