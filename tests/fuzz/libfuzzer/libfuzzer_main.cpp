// libFuzzer entry of one target, chosen at build time (CELESTRIX_FUZZ_TARGET).
#include <cstdlib>

#include "fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const FuzzTarget* target = findFuzzTarget(CELESTRIX_FUZZ_TARGET);
    if (!target) std::abort();
    target->run(data, size);
    return 0;
}
