// A console reporter that also keeps, for every benchmark, the wall-clock time per iteration of its
// fastest repetition: other load on the machine only ever slows a run down, so the fastest one is
// the fairest figure for the ratios a benchmark program prints after its runs.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

class FastestRunReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.iterations <= 0) continue;
            std::string name = run.run_name.function_name;
            if (!run.run_name.args.empty()) name += "/" + run.run_name.args;
            const double seconds = run.real_accumulated_time / static_cast<double>(run.iterations);
            auto it = fastest_.find(name);
            if (it == fastest_.end() || seconds < it->second) fastest_[name] = seconds;
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // Seconds per iteration of the fastest run of name ("BM_Frame", or "BM_Frame/11" with an
    // argument); -1 when it did not run.
    double seconds(const std::string& name) const {
        auto it = fastest_.find(name);
        return it == fastest_.end() ? -1 : it->second;
    }

private:
    std::map<std::string, double> fastest_;
};

// Runs the benchmarks the command line selects, reporting through reporter; false when the command
// line holds an argument Google Benchmark does not know.
inline bool runBenchmarks(int argc, char** argv, FastestRunReporter& reporter) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return false;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return true;
}
