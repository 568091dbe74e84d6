// Formatting and loading of the exact replay side file.
#include "exact_replay_file.h"

#include "integrator.h"
#include "hex_field.h"

#include <bit>
#include <charconv>

#include "float_format.h"
#include "state_digest.h"
#include "text_file.h"

namespace {

constexpr std::string_view kHeader = "celestrix exact replay 1";

bool fail(std::string* reason, std::string why) {
    if (reason) *reason = std::move(why);
    return false;
}

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && text.substr(0, prefix.size()) == prefix;
}

std::vector<std::string_view> words(std::string_view line) {
    std::vector<std::string_view> out;
    size_t start = 0;
    while (start <= line.size()) {
        size_t end = line.find(' ', start);
        if (end == std::string_view::npos) end = line.size();
        out.push_back(line.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

bool parseDecimal(std::string_view text, int& value) {
    if (text.empty() || text.size() > 9) return false;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && ptr == text.data() + text.size() && value >= 0;
}

bool parseFrameLine(std::string_view line, ExactFrameInput& frame) {
    std::vector<std::string_view> w = words(line);
    uint32_t hBits = 0, word = 0;
    if (w.size() != 6 || w[0] != "f" || !parseHexField(w[1], 8, hBits) || !parseHexField(w[2], 8, word) ||
        !parseHexField(w[3], 8, frame.keys) || !parseHexField(w[4], w[4].size() == 16 ? 16 : 2, frame.flags) ||
        !parseDigest(w[5], frame.stateDigest))
        return false;
    frame.hS = std::bit_cast<float>(hBits);
    frame.controlWord = static_cast<int32_t>(word);
    return true;
}

// The frame time as the recording file holds it: written with six digits and read back.
bool sameAsRecorded(float exactH, float recordedH) {
    return std::bit_cast<uint32_t>(parseLeadingFloat(formatFloat(exactH))) ==
           std::bit_cast<uint32_t>(recordedH);
}

}  // namespace

uint32_t polledKeyWord(const KeyState& keys) {
    uint32_t word = 0;
    for (size_t k = 0; k < kExactPolledKeys.size(); ++k)
        if (keys.isDown(kExactPolledKeys[k])) word |= 1u << k;
    return word;
}

void setPolledKeys(KeyState& keys, uint32_t word) {
    keys.keys.fill(0);
    for (size_t k = 0; k < kExactPolledKeys.size(); ++k)
        if (word & (1u << k)) keys.keys[static_cast<size_t>(kExactPolledKeys[k])] = 0x80;
}

std::string exactReplayPath(const std::string& recordingFilePath) {
    std::string path = recordingFilePath;
    if (path.size() >= 4 && path.compare(path.size() - 4, 4, ".vcr") == 0) path.resize(path.size() - 4);
    return path + ".vcx";
}

std::string exactReplayHeaderLine() {
    return std::string(kHeader) + "\nintegrator " + IntegratorState::kArithmetic + "\n";
}

std::string exactSequenceLines(int number, int firstFrameLine, const ExactState& start) {
    std::string out = "sequence " + std::to_string(number) + " " + std::to_string(firstFrameLine) + "\n";
    formatExactState(start, out);
    return out;
}

size_t exactFrameLine(const ExactFrameInput& f, char* line) {
    // "f " + 8 + " " + 8 + " " + 8 + " " + 2 + " " + 16 + "\n": 50 characters.
    char* p = line;
    auto hex = [&p](uint64_t value, int digits) {
        for (int i = digits - 1; i >= 0; --i, value >>= 4) p[i] = "0123456789abcdef"[value & 15u];
        p += digits;
    };
    *p++ = 'f';
    *p++ = ' ';
    hex(std::bit_cast<uint32_t>(f.hS), 8);
    *p++ = ' ';
    hex(static_cast<uint32_t>(f.controlWord), 8);
    *p++ = ' ';
    hex(f.keys, 8);
    *p++ = ' ';
    // Navigation requests widen the flags to sixteen digits.
    hex(f.flags, f.flags > 0xFFu ? 16 : 2);
    *p++ = ' ';
    hex(f.stateDigest, 16);
    *p++ = '\n';
    return static_cast<size_t>(p - line);
}

std::string exactEndLine(int frameLines, uint64_t recordingDigest, uint64_t sideDigestBefore) {
    return "end " + std::to_string(frameLines) + " " + formatDigest(recordingDigest) + " " +
           formatDigest(sideDigestBefore) + "\n";
}

bool loadExactReplay(const std::string& sidePath, const std::string& recordingFilePath,
                     const ReplayTables& tables, size_t objectCount,
                     std::vector<ExactSequence>& sequencesOut, std::string* reason,
                     std::string* arithmeticOut) {
    std::string text;
    if (!readWholeFile(sidePath, text)) return fail(reason, "it cannot be read");
    if (text.empty() || text.back() != '\n') return fail(reason, "it does not end with a whole line");

    // The last line: the recording file it belongs to, and the digest of the side file before it.
    size_t endStart = text.rfind('\n', text.size() - 2);
    endStart = endStart == std::string::npos ? 0 : endStart + 1;
    std::vector<std::string_view> end =
        words(std::string_view(text.data() + endStart, text.size() - 1 - endStart));
    int frameLines = 0;
    uint64_t recordingDigest = 0, sideDigest = 0, actual = 0;
    if (end.size() != 4 || end[0] != "end" || !parseDecimal(end[1], frameLines) ||
        !parseDigest(end[2], recordingDigest) || !parseDigest(end[3], sideDigest))
        return fail(reason, "its last line is not a complete end line");
    if (sideDigest != digestBytes(std::string_view(text.data(), endStart)))
        return fail(reason, "it was changed after it was written");
    if (!digestFile(recordingFilePath, actual) || actual != recordingDigest)
        return fail(reason, "the recording file is not the one it was written with");
    if (static_cast<size_t>(frameLines) != tables.frameTimesS.size() ||
        tables.controlWords.size() != tables.frameTimesS.size())
        return fail(reason, "its frame-line count differs from the recording file's");

    std::vector<std::string_view> lines = splitTextLines(std::string_view(text.data(), endStart));
    if (lines.empty() || lines[0] != kHeader) return fail(reason, "its first line is not the header");
    std::string arithmetic = kFirstIntegratorArithmetic;
    size_t first = 1;
    if (lines.size() > 1 && startsWith(lines[1], "integrator ")) {
        arithmetic = std::string(lines[1].substr(11));
        if (arithmetic.empty() || arithmetic.find_first_of(" \t") != std::string::npos)
            return fail(reason, "line 2 does not name an integrator");
        first = 2;
    }
    std::vector<ExactSequence> sequences;
    for (size_t i = first; i < lines.size();) {
        std::string_view line = lines[i];
        if (startsWith(line, "end ")) {
            ++i;  // the end line of an earlier sequence
            continue;
        }
        std::vector<std::string_view> w = words(line);
        int number = 0;
        ExactSequence sequence;
        if (w.size() != 3 || w[0] != "sequence" || !parseDecimal(w[1], number) ||
            !parseDecimal(w[2], sequence.firstFrameLine))
            return fail(reason, "line " + std::to_string(i + 1) + " is not a sequence line");
        ++i;
        if (!parseExactState(lines, i, sequence.start) || sequence.start.objects.size() != objectCount)
            return fail(reason, "the start state of sequence " + std::to_string(number) + " is unusable");
        while (i < lines.size() && startsWith(lines[i], "f ")) {
            ExactFrameInput frame;
            if (!parseFrameLine(lines[i], frame))
                return fail(reason, "line " + std::to_string(i + 1) + " is not a frame line");
            sequence.frames.push_back(frame);
            ++i;
        }
        if (sequence.frames.empty())
            return fail(reason, "sequence " + std::to_string(number) + " has no frame");
        sequences.push_back(std::move(sequence));
    }

    // Every sequence and frame must be where the recording file has it, with its time and word.
    if (sequences.size() != tables.sequenceFirstFrame.size())
        return fail(reason, "its sequences differ from the recording file's");
    for (size_t s = 0; s < sequences.size(); ++s) {
        const ExactSequence& sequence = sequences[s];
        size_t first = static_cast<size_t>(sequence.firstFrameLine);
        size_t next = s + 1 < sequences.size() ? static_cast<size_t>(sequences[s + 1].firstFrameLine)
                                               : tables.frameTimesS.size();
        if (sequence.firstFrameLine != tables.sequenceFirstFrame[s] ||
            next > tables.frameTimesS.size() || next != first + sequence.frames.size() + 1)
            return fail(reason, "sequence " + std::to_string(s + 1) + " does not cover its frame lines");
        for (size_t line = first; line < next; ++line) {
            const ExactFrameInput& frame = sequence.frames[line == first ? 0 : line - first - 1];
            if (frame.controlWord != tables.controlWords[line] ||
                !sameAsRecorded(frame.hS, tables.frameTimesS[line]))
                return fail(reason, "frame line " + std::to_string(line + 1) + " differs from the recording file's");
        }
    }
    sequencesOut = std::move(sequences);
    if (arithmeticOut) *arithmeticOut = arithmetic;
    return true;
}
