// Number formatting and parsing for the data files. std::to_chars and std::from_chars are used
// because they never consult the locale, unlike printf and strtod.
#include "float_format.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "sim_object.h"

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool isDigit(char c) { return c >= '0' && c <= '9'; }

size_t skipBlanks(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    return i;
}

}  // namespace

std::string formatFloat(float v) {
    if (v == kNaFloat) return "na";
    char buffer[64];
    // General format with precision 6 is defined as printf's %.6g in the C locale.
    auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(v),
                                std::chars_format::general, 6);
    return std::string(buffer, result.ptr);
}

std::string formatInt(int32_t v) {
    if (v == kNaInt) return "na";
    return std::to_string(v);
}

size_t leadingNumberLength(std::string_view text) {
    size_t i = skipBlanks(text);
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    size_t digits = 0;
    while (i < text.size() && isDigit(text[i])) ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) ++i, ++digits;
    }
    if (digits == 0) return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        if (j < text.size() && isDigit(text[j])) {
            while (j < text.size() && isDigit(text[j])) ++j;
            i = j;
        }
    }
    return i;
}

float parseLeadingFloat(std::string_view text, size_t* consumed) {
    size_t length = leadingNumberLength(text);
    if (consumed) *consumed = length;
    if (length == 0) return 0.0f;
    size_t start = skipBlanks(text);
    bool negative = false;
    if (text[start] == '+' || text[start] == '-') {
        negative = text[start] == '-';
        ++start;
    }
    const char* first = text.data() + start;
    const char* last = text.data() + length;
    float value = 0.0f;
    auto result = std::from_chars(first, last, value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        // Tell overflow from underflow by the decimal magnitude, read as a double first.
        double wide = 0.0;
        auto wideResult = std::from_chars(first, last, wide, std::chars_format::general);
        if (wideResult.ec == std::errc()) {
            value = std::fabs(wide) >= 1.0 ? std::numeric_limits<float>::infinity() : 0.0f;
        } else {
            // Beyond even double: the exponent's sign decides.
            std::string_view digits(first, static_cast<size_t>(last - first));
            size_t e = digits.find_first_of("eE");
            bool tiny = e != std::string_view::npos && e + 1 < digits.size() && digits[e + 1] == '-';
            value = tiny ? 0.0f : std::numeric_limits<float>::infinity();
        }
    }
    return negative ? -value : value;
}

bool leadingFloatIsFinite(std::string_view text) {
    size_t i = skipBlanks(text);
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::string_view word = text.substr(i, 3);
    auto lower = [](char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c); };
    std::string spelled;
    for (char c : word) spelled.push_back(lower(c));
    if (spelled == "inf" || spelled == "nan") return false;
    return std::isfinite(parseLeadingFloat(text));
}

int32_t parseLeadingInt(std::string_view text, bool* hasDigits) {
    size_t i = skipBlanks(text);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int64_t magnitude = 0;
    bool any = false;
    constexpr int64_t kLimit = int64_t{1} << 32;
    while (i < text.size() && isDigit(text[i])) {
        any = true;
        if (magnitude < kLimit) magnitude = magnitude * 10 + (text[i] - '0');
        ++i;
    }
    if (hasDigits) *hasDigits = any;
    int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

float parseFloatItem(std::string_view value) {
    return value == "na" ? kNaFloat : parseLeadingFloat(value);
}

int32_t parseIntItem(std::string_view value) {
    return value == "na" ? kNaInt : parseLeadingInt(value);
}

int32_t parseFlagItem(std::string_view value) {
    return value == "na" ? 0 : parseLeadingInt(value);
}
