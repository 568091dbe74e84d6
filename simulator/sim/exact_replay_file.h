// The exact replay side file, <title>.vcx beside <title>.vcr: per sequence the exact state at the
// start of its first frame, and per recorded frame the exact frame time, the whole input of the
// control step (latches, polled keys, whether the keyboard was read, a panic command before the
// frame) and a digest of the state after the frame. The recording file itself is unchanged; the
// side file only counts when its last line names the recording file's exact contents.
//
// Lines:
//   celestrix exact replay 1
//   integrator <the arithmetic of the integrator that made it>   (files without it: the first one)
//   sequence <number> <index of its first frame line in the recording file>
//   <the exact state's lines>
//   f <frame time> <control word> <polled keys> <flags> <state digest>   one per recorded frame
//     (flags: two hex digits, or sixteen when the frame carries a turn or jump-distance request of
//     the target navigation: its bits, as navigationRequestFlags gives them, fill the upper half)
//   ... further sequences ...
//   end <frame lines of the recording file> <its digest> <digest of every byte before this line>
// An "end" line follows every closed sequence; the last line of the file must be one.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "exact_state.h"
#include "replay_tables.h"

// The keys the control step polls, in the bit order of the polled-keys word.
inline constexpr std::array<int, 28> kExactPolledKeys = {
    KeyCode::W, KeyCode::E, KeyCode::S,  KeyCode::D, KeyCode::X,     KeyCode::C, KeyCode::Up,
    KeyCode::Down, KeyCode::U, KeyCode::I, KeyCode::H, KeyCode::J,   KeyCode::N, KeyCode::M,
    KeyCode::R, KeyCode::T, KeyCode::F,  KeyCode::G, KeyCode::V,     KeyCode::B, KeyCode::Space,
    KeyCode::P, KeyCode::L, KeyCode::O,  KeyCode::K, KeyCode::Q,     KeyCode::A, KeyCode::F7};

uint32_t polledKeyWord(const KeyState& keys);
// Sets the polled keys of the word (bit 7 of their bytes) and clears every other key.
void setPolledKeys(KeyState& keys, uint32_t word);

struct ExactFrameInput {
    static constexpr uint32_t kControlsRan = 1;   // the keyboard was read: the control step ran
    static constexpr uint32_t kPanicBefore = 2;   // F8 stopped the rotation before this frame
    static constexpr uint32_t kWarped = 4;        // the frame was warped: split into substeps
    static constexpr int kWarpLevelShift = 4;     // bits 4-6: the warp level (index of the factor)
    static constexpr int kNavigationShift = 32;   // bits 32-63: the navigation's requests
    float hS = 0;
    int32_t controlWord = 0;
    uint32_t keys = 0;
    uint64_t flags = 0;
    uint64_t stateDigest = 0;
};

struct ExactSequence {
    int firstFrameLine = 0;  // index of its first frame line in the recording file
    ExactState start;        // the state before its first frame
    std::vector<ExactFrameInput> frames;  // the first frame stands for the sequence's first two lines
};

std::string exactReplayPath(const std::string& recordingFilePath);

std::string exactReplayHeaderLine();
std::string exactSequenceLines(int number, int firstFrameLine, const ExactState& start);
// The frame line into line (at least kExactFrameLineSize bytes); returns its length.
constexpr size_t kExactFrameLineSize = 80;
size_t exactFrameLine(const ExactFrameInput& frame, char* line);
std::string exactEndLine(int frameLines, uint64_t recordingDigest, uint64_t sideDigestBefore);

// The integrator arithmetic of side files written before they named it: one sum per target with a
// square root and a division per term.
inline constexpr const char* kFirstIntegratorArithmetic = "per-target-sqrt-div";

// Reads the side file of the recording file and checks that it belongs to it: its digests, the
// frame-line count, every sequence's first frame line, and every frame's time and control word as
// the recording file holds them (tables). False with a reason otherwise; nothing is written.
// arithmetic receives the integrator arithmetic that made it.
bool loadExactReplay(const std::string& sidePath, const std::string& recordingFilePath,
                     const ReplayTables& tables, size_t objectCount,
                     std::vector<ExactSequence>& sequences, std::string* reason = nullptr,
                     std::string* arithmetic = nullptr);
