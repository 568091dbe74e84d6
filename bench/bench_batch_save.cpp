// Times the exit save of 1000 object files: one batch (writeFilesAtomically) and the journalled
// set the exit save commits (commitFileSet) against the baseline of one atomic, flushed write after
// the other (writeFileAtomically per file), in the same run and on the same disk. The result is
// the ratio; absolute times depend on the disk ($TMPDIR chooses it).
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "file_set_commit.h"
#include "object_file.h"
#include "text_file.h"

namespace {

constexpr int kFiles = 1000;

struct SaveDir {
    std::string path;
    SaveDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "celestrix_bench_XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        path = pattern + "/";
    }
    ~SaveDir() { std::filesystem::remove_all(path); }
};

std::vector<FileToWrite> objectFiles(const std::string& dir) {
    std::vector<FileToWrite> files;
    SimObject o;
    o.massKg = 1.989e30f;
    for (int i = 0; i < kFiles; ++i) {
        o.positionKm = {static_cast<float>(i) * 1e6f, 0, 0};
        files.push_back({dir + "Asteroid_" + std::to_string(i) + ".cfg", formatObjectFile(o, dir)});
    }
    return files;
}

void BM_SaveOneByOne(benchmark::State& state) {
    SaveDir dir;
    std::vector<FileToWrite> files = objectFiles(dir.path);
    for (auto _ : state)
        for (const FileToWrite& f : files) benchmark::DoNotOptimize(writeFileAtomically(f.path, f.contents));
}

void BM_SaveAsOneBatch(benchmark::State& state) {
    SaveDir dir;
    std::vector<FileToWrite> files = objectFiles(dir.path);
    for (auto _ : state) benchmark::DoNotOptimize(writeFilesAtomically(files));
}

// The exit save as it runs: the same batch committed as one set through the journal.
void BM_SaveAsOneCommittedSet(benchmark::State& state) {
    SaveDir dir;
    std::vector<FileToWrite> files = objectFiles(dir.path);
    for (auto _ : state) benchmark::DoNotOptimize(commitFileSet(dir.path, files));
}

}  // namespace

BENCHMARK(BM_SaveOneByOne)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_SaveAsOneBatch)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_SaveAsOneCommittedSet)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK_MAIN();
