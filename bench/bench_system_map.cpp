// Times opening the map of the system on the 1000-object field (tools/make_asteroid_field.py): the
// object files read, the simulator's orbit set-up, the map's geometry and the first picture of an
// 760 x 600 map, against the baseline of only reading the same 1000 object files. Also times one
// repaint of that map (what a wheel step or a drag costs) and prints the figures and ratios.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "configuration_lines.h"
#include "fastest_runs.h"
#include "starting_state.h"
#include "system_map.h"
#include "system_map_view.h"

namespace {

// A copy of the delivered data with the field added; made once and removed at exit.
class FieldData {
public:
    FieldData() {
        std::string pattern = (std::filesystem::temp_directory_path() / "celestrix_map_bench_XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        dir = pattern + "/";
        std::filesystem::copy(CELESTRIX_DATA_SOURCE, dir, std::filesystem::copy_options::recursive);
        const std::string tool = std::string(CELESTRIX_DATA_SOURCE) + "../tools/make_asteroid_field.py";
        if (std::system(("python3 '" + tool + "' --out '" + dir + "' > /dev/null").c_str()) != 0)
            throw std::runtime_error("make_asteroid_field.py failed");
        std::optional<std::vector<std::string>> lines = readConfigurationLines(dir + "Configurations/Asteroid Field.cfg");
        if (!lines) throw std::runtime_error("no field configuration");
        for (const std::string& line : *lines) names.push_back(line.substr(0, line.rfind('.')));
    }
    ~FieldData() {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    std::string dir;
    std::vector<std::string> names;
};

const FieldData& field() {
    static FieldData d;
    return d;
}

void BM_ReadFieldObjectFiles(benchmark::State& state) {
    for (auto _ : state) {
        std::string unreadable;
        auto objects = readListObjects(field().names, field().dir, unreadable);
        if (!objects) state.SkipWithError("unreadable object file");
        benchmark::DoNotOptimize(objects);
    }
}

void BM_OpenFieldMap(benchmark::State& state) {
    QImage picture(760, 600, QImage::Format_RGB32);
    for (auto _ : state) {
        SystemMapView view;
        view.resize(picture.size());
        view.setMap(systemMapOfList(field().names, field().dir), false);
        if (view.map().bodies.size() != 1000) state.SkipWithError("the field has not 1000 objects");
        view.render(&picture);
    }
}

void BM_RepaintFieldMap(benchmark::State& state) {
    QImage picture(760, 600, QImage::Format_RGB32);
    SystemMapView view;
    view.resize(picture.size());
    view.setMap(systemMapOfList(field().names, field().dir), false);
    for (auto _ : state) view.render(&picture);
}

}  // namespace

BENCHMARK(BM_ReadFieldObjectFiles)->Unit(benchmark::kMillisecond)->Repetitions(3);
BENCHMARK(BM_OpenFieldMap)->Unit(benchmark::kMillisecond)->Repetitions(3);
BENCHMARK(BM_RepaintFieldMap)->Unit(benchmark::kMillisecond)->Repetitions(3);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    FastestRunReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double read = reporter.seconds("BM_ReadFieldObjectFiles");
    const double open = reporter.seconds("BM_OpenFieldMap");
    const double repaint = reporter.seconds("BM_RepaintFieldMap");
    if (read > 0 && open > 0)
        std::printf("Opening the map of 1000 objects: %.1f ms, %.2f times the reading of their files "
                    "(%.1f ms); one repaint: %.1f ms\n",
                    open * 1e3, open / read, read * 1e3, repaint * 1e3);
    benchmark::Shutdown();
    return 0;
}
