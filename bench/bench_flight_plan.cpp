// What a transfer search costs (porkchop grid of Lambert arcs, then Newton corrections on the full
// integration): to the Moon from a circular orbit 2,000 km above Earth, and to Mars from a solar
// orbit near Earth's, with the delivered sky. The baseline is one trajectory prediction of the
// flight's length from the same state: the corrections cost a few dozen of those. The issue's
// figures (under 2 s to the Moon, under 10 s to Mars on two cores) read off the absolute times.
#include <benchmark/benchmark.h>

#include <cmath>

#include "startup.h"
#include "step_bound.h"
#include "trajectory_prediction.h"
#include "transfer_plan.h"

namespace {

int indexOf(const SimState& s, const std::string& entry) {
    for (size_t i = 0; i + 1 < s.objects.size(); ++i)
        if (s.configEntries[i] == entry) return static_cast<int>(i);
    return -1;
}

// The delivered sky with the ship moved: near Earth on a circular orbit 2,000 km up, or on Earth's
// path about the Sun 20 million km ahead of it.
SimState makeState(bool solarOrbit) {
    SimState s;
    s.runMode = 1;
    s.dataDirectory = CELESTRIX_DATA_SOURCE;
    if (loadStartupState(s)) return s;
    fillSceneState(s);
    const SimObject& earth = s.objects[static_cast<size_t>(indexOf(s, "Earth.cfg"))];
    SimObject& ship = s.observer();
    if (solarOrbit) {
        const Vec3f v = earth.velocityKmPerS - s.objects[0].velocityKmPerS;
        ship.positionKm = earth.positionKm + normalize(v) * 2e7f;
        ship.velocityKmPerS = earth.velocityKmPerS;
    } else {
        const float r = 6378.14f + 2000;
        ship.positionKm = earth.positionKm + Vec3f{0, 0, r};
        ship.velocityKmPerS = earth.velocityKmPerS + Vec3f{-std::sqrt(398463.0f / r), 0, 0};
    }
    s.integrator.setUp(s.objects);
    return s;
}

TransferRequest request(const SimState& s, const std::string& target) {
    TransferRequest r;
    r.objects = s.objects;
    r.integrator = s.integrator;
    r.target = indexOf(s, target);
    r.altitudeKm = s.objects[static_cast<size_t>(r.target)].equatorialRadiusKm;
    r.leadS = 120;
    return r;
}

void BM_PredictionOfTheFlight(benchmark::State& st) {
    const bool mars = st.range(0) != 0;
    const SimState s = makeState(mars);
    const double horizon = mars ? 400 * 86400.0 : 6 * 86400.0;
    for (auto _ : st) {
        PredictionRequest r;
        r.objects = s.objects;
        r.integrator = s.integrator;
        r.horizonS = horizon;
        benchmark::DoNotOptimize(predictTrajectory(std::move(r)).ship.size());
    }
}

void BM_TransferSearch(benchmark::State& st) {
    const bool mars = st.range(0) != 0;
    const SimState s = makeState(mars);
    for (auto _ : st) {
        TransferResult result = planTransfer(request(s, mars ? "Mars.cfg" : "Moon.cfg"));
        if (!result.plan.found) st.SkipWithError(result.plan.summary.c_str());
        st.counters["corrections"] = result.corrections;
        st.counters["closest_km"] = result.plannedClosestAltitudeKm;
        st.counters["conic_closest_km"] = result.conicClosestAltitudeKm;
    }
}

}  // namespace

// 0: the Moon, 1: Mars.
BENCHMARK(BM_PredictionOfTheFlight)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TransferSearch)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK_MAIN();
