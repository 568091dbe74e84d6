// Fixed-width lower-case hexadecimal fields of the exact state record and the replay side file.
#pragma once

#include <charconv>
#include <string_view>

// True when text is exactly digits lower-case hexadecimal digits; value then holds them.
template <class T>
bool parseHexField(std::string_view text, size_t digits, T& value) {
    if (text.size() != digits) return false;
    for (char c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    return ec == std::errc() && ptr == text.data() + text.size();
}
