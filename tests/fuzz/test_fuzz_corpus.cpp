// Replays every fuzz target's corpus (the seeds and every crash found so far) and a fixed set of
// deterministic mutations of each seed, so that the normal test run (and its sanitizer build)
// catches a reader that regresses on hostile input. Open-ended fuzzing is scripts/fuzz.sh.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "fuzz_targets.h"

namespace fs = std::filesystem;

namespace {

const fs::path kCorpus = CELESTRIX_FUZZ_CORPUS;
constexpr int kMutationsPerSeed = 150;

std::string readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Small, fixed pseudo-random sequence: the same mutations on every run.
struct Rng {
    uint64_t state;
    uint64_t next() {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    }
    size_t below(size_t n) { return n == 0 ? 0 : static_cast<size_t>(next() % n); }
};

// One to four edits of the kinds that break readers: bit flips, boundary bytes, cut and doubled
// ranges, and numbers replaced by extreme or non-finite spellings.
std::string mutate(std::string s, Rng& rng) {
    static const char* const kTokens[] = {"1e39", "-1e500", "nan", "inf", "na", "-999", "2147483647",
                                          "-2147483648", "4294967296", "0", "\n", "\r\n", "=", ":", "{", "}",
                                          "begin_sequence", "999999999999"};
    const int edits = 1 + static_cast<int>(rng.below(4));
    for (int e = 0; e < edits; ++e) {
        const size_t at = rng.below(s.size() + 1);
        switch (rng.below(6)) {
            case 0:
                if (!s.empty()) s[std::min(at, s.size() - 1)] ^= static_cast<char>(1u << rng.below(8));
                break;
            case 1:
                if (!s.empty()) s[std::min(at, s.size() - 1)] = "\x00\xff\x7f\x80-9"[rng.below(6)];
                break;
            case 2: s.erase(at, rng.below(64)); break;
            case 3: s.insert(at, s.substr(rng.below(s.size() + 1), rng.below(256))); break;
            case 4: s.resize(at); break;
            default: {
                const std::string token = kTokens[rng.below(std::size(kTokens))];
                // Replace the number (or word) that starts at or after `at`.
                size_t start = s.find_first_of("-0123456789", at);
                if (start == std::string::npos) start = at;
                size_t end = s.find_first_not_of("-+.0123456789eE", start);
                s.replace(start, (end == std::string::npos ? s.size() : end) - start, token);
            }
        }
    }
    return s;
}

}  // namespace

TEST(FuzzCorpus, EveryTargetHasSeedsAndSurvivesThemAndTheirMutations) {
    for (const FuzzTarget& target : fuzzTargets()) {
        SCOPED_TRACE(target.name);
        const fs::path dir = kCorpus / target.name;
        ASSERT_TRUE(fs::is_directory(dir)) << dir;
        std::vector<fs::path> files;
        for (const auto& e : fs::directory_iterator(dir))
            if (e.is_regular_file()) files.push_back(e.path());
        std::sort(files.begin(), files.end());
        ASSERT_FALSE(files.empty());
        Rng rng{0x9E3779B97F4A7C15ull};
        for (const fs::path& file : files) {
            const std::string seed = readBytes(file);
            target.run(reinterpret_cast<const uint8_t*>(seed.data()), seed.size());
            for (int m = 0; m < kMutationsPerSeed; ++m) {
                const std::string input = mutate(seed, rng);
                target.run(reinterpret_cast<const uint8_t*>(input.data()), input.size());
            }
        }
        target.run(nullptr, 0);
    }
}
