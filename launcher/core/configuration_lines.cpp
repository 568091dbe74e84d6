#include "configuration_lines.h"

#include <cstdlib>

#include "text_file.h"

bool isEndMarkerLine(const std::string& line) {
    char* end = nullptr;
    long value = std::strtol(line.c_str(), &end, 10);
    return end != line.c_str() && value == -999;
}

std::optional<std::vector<std::string>> readConfigurationLines(const std::string& path) {
    std::string contents;
    if (!readWholeFile(path, contents)) return std::nullopt;
    std::vector<std::string> lines;
    for (TextLine& line : splitLines(contents)) {
        if (isEndMarkerLine(line.text)) break;
        lines.push_back(std::move(line.text));
    }
    return lines;
}
