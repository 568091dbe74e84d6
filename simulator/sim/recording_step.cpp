// Recording of a live flight: removal of the previous recording of the same title, snapshot
// directories per sequence, and the frame lines of the recording file.
#include "recording_step.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "float_format.h"
#include "object_file.h"
#include "text_file.h"
#include "view_files.h"

namespace fs = std::filesystem;

namespace {

std::string recordingDir(const SimState& s) {
    return s.dataDirectory + "Recordings/" + s.recordingTitle + "/";
}

std::string frameLine(float hS, int32_t word) { return formatFloat(hS) + ":" + std::to_string(word); }

bool copyFileContents(const std::string& from, const std::string& to) {
    std::string text;
    if (!readWholeFile(from, text)) return false;
    return writeFileAtomically(to, text);
}

}  // namespace

void RecordingStep::appendLine(const std::string& line) {
    if (!file_) return;
    std::fputs(line.c_str(), file_);
    std::fputc('\n', file_);
}

void RecordingStep::close() {
    if (!file_) return;
    appendLine("end_sequence");
    appendLine("#");
    std::fclose(file_);
    file_ = nullptr;
}

void RecordingStep::removePreviousRecording(const SimState& state) {
    std::string dir = recordingDir(state);
    std::error_code ec;
    fs::remove(dir + state.recordingTitle + ".vcr", ec);
    fs::remove(dir + "configuration.cfg", ec);
    for (int k = 1;; ++k) {
        std::string seq = dir + "Sequence" + std::to_string(k) + "/";
        for (const std::string& entry : state.configEntries) fs::remove(seq + entry, ec);
        fs::remove(seq + "last_view.cfg", ec);
        fs::remove(seq + "time.cfg", ec);
        // Only an empty directory is removed; stop at the first one that cannot be.
        if (!fs::is_directory(seq, ec) || !fs::remove(seq, ec) || ec) break;
    }
}

std::optional<std::string> RecordingStep::startSequence(SimState& state, float hS, int32_t word) {
    std::string dir = recordingDir(state);
    std::error_code ec;
    fs::create_directories(dir, ec);
    // Replay reads this copy, but a recording without it still holds the flight: a failed copy
    // does not end the run (the snapshot files and the recording file below do).
    copyFileContents(state.configurationPath, dir + "configuration.cfg");

    if (sequence_ == 0) {
        int entries = 0;
        for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) ++entries;
        sequence_ = ec ? 1 : std::max(1, entries);  // the count without "." and ".."
    } else {
        ++sequence_;
    }
    std::string relative = "Recordings/" + state.recordingTitle + "/Sequence" +
                           std::to_string(sequence_) + "/";
    std::string snapshotDir = state.dataDirectory + relative;
    fs::create_directories(snapshotDir, ec);

    for (size_t i = 0; i < state.objects.size() && i < state.configEntries.size(); ++i) {
        SimObject& obj = state.objects[i];
        std::string ownPath = obj.ownPath;
        obj.ownPath = snapshotDir + state.configEntries[i];
        bool written = writeObjectFile(obj, state.dataDirectory);
        std::string path = obj.ownPath;
        obj.ownPath = ownPath;
        if (!written) return path;
    }
    if (!writeLastView(snapshotDir + "last_view.cfg", state.orientation))
        return snapshotDir + "last_view.cfg";

    std::string vcr = dir + state.recordingTitle + ".vcr";
    file_ = openOutputFile(vcr, true);
    if (!file_) return vcr;
    appendLine("#");
    appendLine("begin_sequence");
    appendLine(relative);
    appendLine(frameLine(hS, word));
    return std::nullopt;
}

std::optional<std::string> RecordingStep::run(SimState& state, float hS) {
    if (!state.isLive()) return std::nullopt;
    int32_t word = controlWord(state.latches);
    if (state.flags.recordingOn) {
        if (!previousRemoved_) {
            removePreviousRecording(state);
            previousRemoved_ = true;
        }
        if (!file_)
            if (auto failed = startSequence(state, hS, word)) return failed;
    } else if (file_) {
        close();
    }
    if (file_) appendLine(frameLine(hS, word));
    return std::nullopt;
}
