// Mangled copies of a file's text for robustness tests: every prefix (in steps), then random
// edits with a fixed seed that favour the bytes the file formats care about.
#pragma once

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace testdata {

inline std::vector<std::string> mangledVariants(const std::string& text, unsigned seed, int randomCount) {
    std::vector<std::string> out;
    const size_t step = std::max<size_t>(1, text.size() / 200);
    for (size_t n = 0; n < text.size(); n += step) out.push_back(text.substr(0, n));
    std::mt19937 rng(seed);
    static const char kSpecial[] = "=\r\n#-9 .e+|:na\t\x00\xff";
    const std::string special(kSpecial, sizeof kSpecial - 1);
    for (int i = 0; i < randomCount && !text.empty(); ++i) {
        std::string s = text;
        const int edits = 1 + static_cast<int>(rng() % 8);
        for (int e = 0; e < edits && !s.empty(); ++e) {
            const size_t at = rng() % s.size();
            switch (rng() % 4) {
                case 0: s[at] = special[rng() % special.size()]; break;
                case 1: s[at] = static_cast<char>(rng() & 0xFF); break;
                case 2: s.erase(at, 1 + rng() % 40); break;
                default: s.insert(at, s.substr(at, 1 + rng() % 80)); break;
            }
        }
        out.push_back(s);
    }
    return out;
}

}  // namespace testdata
