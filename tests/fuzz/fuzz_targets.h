// Every file reader of the simulator as a fuzz target: one function per reader that takes the
// bytes of a file and reads them the way the program does. The same functions run under libFuzzer
// (built with clang) and in the corpus replay of the normal test suite.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct FuzzTarget {
    const char* name;  // also the folder of its seed corpus under tests/fuzz/corpus/
    void (*run)(const uint8_t* data, size_t size);
};

const std::vector<FuzzTarget>& fuzzTargets();
// The launcher's readers (fuzz_launcher_targets.cpp); fuzzTargets() holds them too.
const std::vector<FuzzTarget>& launcherFuzzTargets();
const FuzzTarget* findFuzzTarget(const std::string& name);
