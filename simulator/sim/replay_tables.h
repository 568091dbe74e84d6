// The frame lines of a recording as replay uses them: per frame the frame time and control word,
// and per sequence its first frame and snapshot directory.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ReplayTables {
    std::vector<float> frameTimesS;         // frame index -> frame time h
    std::vector<int32_t> controlWords;      // frame index -> control word
    int lastFrameIndex = -1;                // index of the last frame line, -1 when there is none
    std::vector<int> sequenceFirstFrame;    // sequence (0-based) -> its first frame index
    std::vector<std::string> sequenceDirs;  // sequence (0-based) -> snapshot directory, full path
    int cursor = 0;                         // next frame index to play
    int currentSequence = 1;                // 1-based number shown on screen
    int32_t finished = 0;                   // set when the last frame line is being played
    bool exactInput = false;                // an exact replay: the recorded polled keys act as live
};
