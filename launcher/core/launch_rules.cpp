// Probe decoding, simulator argument and the live start's entry count.
#include "launch_rules.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "configuration_lines.h"
#include "text_file.h"

std::optional<int> parseProbeCode(std::string_view output) {
    std::string text(output);
    const char* begin = text.c_str();
    while (*begin == ' ' || *begin == '\t' || *begin == '\n' || *begin == '\r') ++begin;
    if (*begin == '\0') return std::nullopt;
    char* end = nullptr;
    errno = 0;
    long value = std::strtol(begin, &end, 16);
    if (end == begin || errno != 0 || value <= 0 || value > 0x7fffffff) return std::nullopt;
    for (; *end; ++end)
        if (*end != ' ' && *end != '\n' && *end != '\r' && *end != '\t') return std::nullopt;
    return static_cast<int>(value);
}

bool isOpenGlSufficient(std::optional<int> code) { return code && *code >= kRequiredOpenGlCode; }

std::string openGlVersionSentence(std::optional<int> code) {
    if (!code) return "\n\nUnable to determine OpenGL version.";
    int major = *code >> 16;
    int minor = (*code >> 8) & 0xff;
    return "\n\nOpenGL " + std::to_string(major) + "." + std::to_string(minor) + " is installed.";
}

std::string simulatorArgument(const std::string& dataDirectory, char mode) {
    std::string dir = dataDirectory;
    if (dir.empty() || dir.back() != '/') dir += '/';
    return dir + "|" + mode;
}

std::optional<int> countConfigurationEntries(const std::string& path, int limit) {
    std::string contents;
    if (!readWholeFile(path, contents)) return std::nullopt;
    int count = 0;
    for (const TextLine& line : splitLines(contents)) {
        if (isEndMarkerLine(line.text)) break;
        if (++count > limit) break;
    }
    return count;
}

bool pathExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}
