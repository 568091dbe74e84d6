// The live recording step: while recording is on, each sequence starts with a snapshot of every
// object file and last_view.cfg, and every frame appends "<frame time>:<control word>".
#pragma once

#include <cstdio>
#include <optional>
#include <string>

#include "sim_state.h"

class RecordingStep {
public:
    RecordingStep() = default;
    RecordingStep(const RecordingStep&) = delete;
    RecordingStep& operator=(const RecordingStep&) = delete;
    ~RecordingStep() { close(); }

    // Once per live frame step, after the mission time was advanced, with that frame's time.
    // Returns the full path of a file that could not be written (the caller ends the run).
    std::optional<std::string> run(SimState& state, float hS);
    // Appends "end_sequence" and "#" and closes the recording file, if open.
    void close();
    bool isOpen() const { return file_ != nullptr; }
    int sequenceNumber() const { return sequence_; }

private:
    std::optional<std::string> startSequence(SimState& state, float hS, int32_t word);
    void removePreviousRecording(const SimState& state);
    void appendLine(const std::string& line);

    std::FILE* file_ = nullptr;
    bool previousRemoved_ = false;
    int sequence_ = 0;  // number of the last sequence started in this run, 0 before the first
};
