// Natural order: digit runs by value, other characters case-insensitively, the exact text last.
#include "natural_order.h"

#include <algorithm>
#include <cctype>

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
int folded(char c) { return std::tolower(static_cast<unsigned char>(c)); }

// Compares the digit runs starting at i and j by value (leading zeros ignored); advances both.
int compareNumbers(const std::string& a, size_t& i, const std::string& b, size_t& j) {
    while (i < a.size() && a[i] == '0' && i + 1 < a.size() && isDigit(a[i + 1])) ++i;
    while (j < b.size() && b[j] == '0' && j + 1 < b.size() && isDigit(b[j + 1])) ++j;
    size_t endA = i, endB = j;
    while (endA < a.size() && isDigit(a[endA])) ++endA;
    while (endB < b.size() && isDigit(b[endB])) ++endB;
    int result = 0;
    if (endA - i != endB - j) result = endA - i < endB - j ? -1 : 1;
    else result = a.compare(i, endA - i, b, j, endB - j);
    i = endA;
    j = endB;
    return result < 0 ? -1 : result > 0 ? 1 : 0;
}

}  // namespace

bool naturalLess(const std::string& a, const std::string& b) {
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            if (int c = compareNumbers(a, i, b, j)) return c < 0;
            continue;
        }
        if (folded(a[i]) != folded(b[j])) return folded(a[i]) < folded(b[j]);
        ++i;
        ++j;
    }
    if ((i < a.size()) != (j < b.size())) return j < b.size();
    return a < b;  // equal but for case or leading zeros: a fixed order all the same
}

void sortNaturally(std::vector<std::string>& names) { std::sort(names.begin(), names.end(), naturalLess); }
