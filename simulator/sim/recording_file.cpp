// Recording file reading and the replay start-up parse. Every index is checked against the line
// count, so a cut-off or hand-edited recording is refused instead of read past its end.
#include "recording_file.h"

#include "float_format.h"
#include "text_file.h"

bool readRecordingLines(const std::string& path, std::vector<std::string>& lines, std::string* reason) {
    std::string contents;
    if (!readWholeFile(path, contents, reason)) return false;
    std::vector<std::string> result;
    for (TextLine& line : splitLines(contents)) result.push_back(std::move(line.text));
    lines = std::move(result);
    return true;
}

bool parseRecording(const std::vector<std::string>& lines, const std::string& dataDir,
                    ReplayTables& tables, std::string& firstSnapshotDirRelative,
                    std::string* reason) {
    auto fail = [&](std::string why) {
        if (reason) *reason = std::move(why);
        return false;
    };
    auto lineName = [](size_t i) { return "line " + std::to_string(i + 1); };

    ReplayTables result;
    std::string firstDir;
    bool inside = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] == "begin_sequence") {
            // The directory line and the line after it must exist.
            if (i + 2 >= lines.size())
                return fail(lineName(i) + ": \"begin_sequence\" without a directory and a frame line");
            if (result.sequenceDirs.empty()) firstDir = lines[i + 1];
            result.sequenceFirstFrame.push_back(static_cast<int>(result.frameTimesS.size()));
            result.sequenceDirs.push_back(dataDir + lines[i + 1]);
            inside = true;
            i += 2;
        }
        const std::string& line = lines[i];
        if (line == "end_sequence") {
            inside = false;
        } else if (inside) {
            size_t colon = line.find(':');
            if (colon == std::string::npos) return fail(lineName(i) + ": frame line without \":\"");
            std::string_view time = std::string_view(line).substr(0, colon);
            if (!leadingFloatIsFinite(time)) return fail(lineName(i) + ": the frame time is not a finite number");
            result.frameTimesS.push_back(parseLeadingFloat(time));
            result.controlWords.push_back(parseLeadingInt(std::string_view(line).substr(colon + 1)));
        }
    }
    if (result.sequenceDirs.empty()) return fail("no \"begin_sequence\" line");
    if (result.frameTimesS.empty()) return fail("no frame line");
    result.lastFrameIndex = static_cast<int>(result.frameTimesS.size()) - 1;
    result.cursor = 0;
    result.currentSequence = 1;
    result.finished = 0;
    tables = std::move(result);
    firstSnapshotDirRelative = std::move(firstDir);
    return true;
}
