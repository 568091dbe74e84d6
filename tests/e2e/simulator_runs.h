// Helpers of the end-to-end tests: the simulator binary run on a data directory of the test's.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "gui_components.h"

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

// A copy of the shipped data directory in dir.
inline void copyShippedData(const std::string& dir) {
    std::filesystem::copy(CELESTRIX_DATA_SOURCE, dir,
                          std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
}

// "x y" of the centre of a delivered button (by its bitmap's name, "pitch_down" for
// gui_pitch_down_off.bmp) on a screen layoutWidth layout pixels wide, in device pixels at the
// given UI scale.
inline std::string buttonCentre(const std::string& name, int layoutWidth, int scale = 1, bool live = true) {
    const std::string file = std::string(CELESTRIX_DATA_SOURCE) + (live ? "guispecs.cfg" : "vcrspecs.cfg");
    std::optional<std::vector<GuiComponentSpec>> specs = readGuiSpecFile(file);
    if (!specs) throw std::runtime_error("cannot read " + file);
    for (const GuiComponentSpec& spec : *specs)
        for (size_t j = 0; j < spec.iconFiles.size(); ++j)
            if (spec.iconFiles[j] == "Media/Icons/gui_" + name + "_off.bmp")
                return std::to_string(scale * (layoutWidth + static_cast<int>(spec.iconPositions[j].x) + spec.xOffset + 16)) +
                       " " + std::to_string(scale * (static_cast<int>(spec.iconPositions[j].y) + spec.yOffset + 16));
    throw std::runtime_error("no button " + name);
}

}  // namespace e2e
