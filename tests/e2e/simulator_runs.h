// Helpers of the end-to-end tests: the simulator binary run on a data directory of the test's.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "run_program.h"
#include "test_data_dir.h"

namespace e2e {

inline const std::string kCorvane = CORVANE_PATH;

// corvane [options...] "<dataDir>|<mode>", run from inside the data directory.
inline testrun::RunResult runCorvane(const std::string& dataDir, std::vector<std::string> options,
                                     const std::string& mode = "1") {
    options.push_back(dataDir + "|" + mode);
    return testrun::run(kCorvane, options, dataDir);
}

// A hidden window of size ("WxH") that runs frames frames of 0.02 s each with the scripted input
// in scriptPath: the run that the snapshot tests look at.
inline testrun::RunResult runScriptedHeadless(const std::string& dataDir, const std::string& scriptPath,
                                              const std::string& size, int frames, const std::string& mode = "1") {
    return runCorvane(dataDir, {"--headless", "--windowed", "--size", size, "--fixed-dt", "0.02", "--frames",
                                std::to_string(frames), "--input", scriptPath},
                      mode);
}

// Waits (at most a minute) until path exists; false if it never does.
inline bool appears(const std::string& path) {
    for (int i = 0; i < 6000; ++i) {
        if (std::filesystem::exists(path)) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

// A copy of the shipped data directory in dir.
inline void copyShippedData(const std::string& dir) {
    std::filesystem::copy(CELESTRIX_DATA_SOURCE, dir,
                          std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
}

}  // namespace e2e
