// Reading and writing configuration files: object file names in configuration order, then "-999".
// The file is read once; entries are taken verbatim apart from the line end.
#include "config_file.h"

#include "file_error.h"
#include "float_format.h"
#include "object_file.h"
#include "text_file.h"

bool readConfigurationFile(const std::string& path, std::vector<std::string>& entries,
                           std::string* reason) {
    auto fail = [&](std::string why) {
        if (reason) *reason = std::move(why);
        return false;
    };
    std::string contents;
    std::string readReason;
    if (!readWholeFile(path, contents, &readReason)) return fail(readReason);
    std::vector<std::string> result;
    for (TextLine& line : splitLines(contents)) {
        bool hasDigits = false;
        if (parseLeadingInt(line.text, &hasDigits) == -999 && hasDigits) {
            entries = std::move(result);
            return true;
        }
        if (result.size() == static_cast<size_t>(kMaxFileLines))
            return fail("more than " + std::to_string(kMaxFileLines) + " entries");
        result.push_back(std::move(line.text));
    }
    return fail("no terminator line \"-999\"");
}

bool writeConfigurationFile(const std::string& path, const std::vector<std::string>& entries) {
    std::string out;
    for (const std::string& entry : entries) {
        if (entry.find_first_of("\r\n") != std::string::npos) return false;
        out += entry;
        out += '\n';
    }
    out += "-999\n";
    return writeFileAtomically(path, out);
}
