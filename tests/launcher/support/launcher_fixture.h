// Shared set-up of the launcher's dialog tests: a copy of the pristine data directory as the
// current directory (the launcher context takes it from there), a simulator that records how it
// was started, and an exit function that throws, so that a fatal path ends the test's call
// instead of the test program.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <cstdio>
#include <filesystem>
#include <string>

#include "fatal_exit.h"
#include "object_item.h"
#include "test_data_dir.h"

namespace launchertest {

// Thrown by the test exit function in place of ending the process.
struct LauncherExit {
    int code;
};

// A stand-in simulator: answers the probe with probeOutput, and records every other start's
// arguments (one per line) in sim_args.txt of its working directory.
inline std::string writeFakeSimulator(const std::string& dir, const std::string& probeOutput) {
    const std::string path = dir + "fake_corvane.sh";
    testdata::writeText(path,
                        "#!/bin/sh\n"
                        "if [ \"$1\" = --probe ]; then printf '%s\\n' '" + probeOutput + "'; exit 0; fi\n"
                        "for a in \"$@\"; do printf '[%s]\\n' \"$a\"; done >> sim_args.txt\n");
    chmod(path.c_str(), 0755);
    return path;
}

class LauncherTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy(CELESTRIX_DATA_SOURCE, data.path(),
                              std::filesystem::copy_options::recursive);
        previousDirectory = QDir::currentPath();
        QDir::setCurrent(QString::fromStdString(data.path()));
        qputenv("CELESTRIX_SIMULATOR", writeFakeSimulator(tools.path(), "0x40500").c_str());
        qunsetenv("CELESTRIX_TEST_SIMULATOR_OPTIONS");
        setLauncherExitFunction([](int code) { throw LauncherExit{code}; });
    }
    void TearDown() override {
        QDir::setCurrent(previousDirectory);
        qunsetenv("CELESTRIX_SIMULATOR");
    }

    const std::string& dir() const { return data.path(); }
    // The delivered world is centred on Earth; tests that lay out orbits in figures about the
    // Sun shift the copied Sun and observer so that the Sun stands at the origin.
    void centreOnSun() const {
        const std::string sun = dir() + "Objects/Sun.cfg";
        for (int axis = 0; axis < 3; ++axis) {
            const double offset = std::stod(readObjectItem(sun, objectItemLabel(2 + axis), dir()).value);
            for (const char* name : {"Sun", "Observer"}) {
                const std::string path = dir() + "Objects/" + name + ".cfg";
                for (int item : {2 + axis, 9 + axis}) {
                    const double value = std::stod(readObjectItem(path, objectItemLabel(item), dir()).value);
                    char text[32];
                    std::snprintf(text, sizeof text, "%g", value - offset);
                    ASSERT_EQ(writeObjectItem(path, objectItemLabel(item), text, dir()), ItemStatus::Ok);
                }
            }
        }
    }
    std::string simulatorStarts() const {
        return testdata::exists(dir() + "sim_args.txt") ? testdata::readText(dir() + "sim_args.txt") : "";
    }

    testdata::TempDataDir data;
    testdata::TempDataDir tools;
    QString previousDirectory;
};

}  // namespace launchertest
