// Texts of the overlay pass: the keyboard help pages and the recording and replay indicators.
#pragma once

#include <string>

// The keyboard help page of the live or the replay mode.
const std::string& keyboardHelpPage(bool liveMode);

// "<title>: Seq. <current>/<count>", the replay indicator.
std::string replayIndicator(const std::string& title, int currentSequence, int sequenceCount);
