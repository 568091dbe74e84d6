// Writing and checking the exact state record. Text lines:
//   celestrix exact state 1
//   configuration <name>
//   file <digest> <path relative to the data directory>   last_view.cfg, Objects/<entry>..., time.cfg
//   <the exact state's lines>
//   check <digest of every byte before this line>
#include "exact_state_record.h"

#include <unistd.h>

#include <vector>

#include "exact_state.h"
#include "state_digest.h"
#include "text_file.h"

namespace {

constexpr std::string_view kHeader = "celestrix exact state 1";

// The files a save writes, in its order, relative to the data directory.
std::vector<std::string> savedFiles(const SimState& state) {
    std::vector<std::string> files{"last_view.cfg"};
    for (const std::string& entry : state.configEntries) files.push_back("Objects/" + entry);
    files.push_back("time.cfg");
    return files;
}

std::string recordPath(const SimState& state) { return state.dataDirectory + kExactStateRecordName; }

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && text.substr(0, prefix.size()) == prefix;
}

}  // namespace

void removeExactStateRecord(const SimState& state) { ::unlink(recordPath(state).c_str()); }

std::string formatExactStateRecord(const SimState& state, const std::vector<FileToWrite>& saved) {
    const std::vector<std::string> files = savedFiles(state);
    if (saved.size() != files.size()) return {};
    std::string out(kHeader);
    out += "\nconfiguration " + state.configurationName + "\n";
    for (size_t i = 0; i < files.size(); ++i) {
        if (saved[i].path != state.dataDirectory + files[i]) return {};
        out += "file " + formatDigest(digestBytes(saved[i].contents)) + " " + files[i] + "\n";
    }
    // A state that turned non-finite has nothing worth continuing from.
    ExactState exact = captureExactState(state);
    if (!exactStateIsFinite(exact)) return {};
    formatExactState(exact, out);
    out += "check " + formatDigest(digestBytes(out)) + "\n";
    return out;
}

bool writeExactStateRecord(const SimState& state, const std::vector<FileToWrite>& saved) {
    // Names that would not survive a line of their own cannot be checked later.
    if (state.configurationName.find('\n') != std::string::npos) return false;
    for (const std::string& entry : state.configEntries)
        if (entry.find('\n') != std::string::npos) return false;
    std::string text = formatExactStateRecord(state, saved);
    return !text.empty() && writeFileAtomically(recordPath(state), text);
}

bool resumeFromExactStateRecord(SimState& state, std::string* notUsedBecause) {
    if (!state.isLive() || state.objects.empty()) return false;
    std::string text;
    if (!readWholeFile(recordPath(state), text)) return false;  // no record: nothing to say
    auto notUsed = [&](const char* why) {
        if (notUsedBecause) *notUsedBecause = why;
        return false;
    };
    const char* kDamaged = "it is damaged";

    // The last line holds the digest of everything before it: a cut or edited record stops here.
    if (text.empty() || text.back() != '\n') return notUsed(kDamaged);
    size_t checkStart = text.rfind('\n', text.size() - 2);
    checkStart = checkStart == std::string::npos ? 0 : checkStart + 1;
    std::string_view checkLine(text.data() + checkStart, text.size() - 1 - checkStart);
    uint64_t check = 0;
    if (!startsWith(checkLine, "check ") || !parseDigest(checkLine.substr(6), check) ||
        check != digestBytes(std::string_view(text.data(), checkStart)))
        return notUsed(kDamaged);

    std::vector<std::string_view> lines = splitTextLines(std::string_view(text.data(), checkStart));
    size_t i = 0;
    if (lines.size() < 2 || lines[i++] != kHeader) return notUsed(kDamaged);
    if (lines[i++] != "configuration " + state.configurationName) return notUsed("it belongs to another configuration");
    for (const std::string& file : savedFiles(state)) {
        if (i >= lines.size()) return notUsed("it names other files than the saved ones");
        std::string_view line = lines[i++];
        uint64_t recorded = 0, current = 0;
        if (!startsWith(line, "file ") || line.size() < 22 || line[21] != ' ' ||
            !parseDigest(line.substr(5, 16), recorded) || line.substr(22) != file)
            return notUsed("it names other files than the saved ones");
        if (!digestFile(state.dataDirectory + file, current) || current != recorded)
            return notUsed("the saved files changed after it was written");
    }
    ExactState exact;
    if (!parseExactState(lines, i, exact) || i != lines.size()) return notUsed(kDamaged);
    if (!exactStateIsFinite(exact) || !exactStateRoundsTo(exact, state))
        return notUsed("its values do not match the saved files");
    return applyExactState(state, exact) || notUsed("its values do not match the saved files");
}
