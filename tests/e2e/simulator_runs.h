// Helpers of the end-to-end tests: the simulator binary run on a data directory of the test's.
#pragma once

#include <string>
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

// A copy of the shipped data directory in dir.
inline void copyShippedData(const std::string& dir) {
    std::filesystem::copy(CELESTRIX_DATA_SOURCE, dir,
                          std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
}

}  // namespace e2e
