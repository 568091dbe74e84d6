// Texts of the overlay pass: the keyboard help pages and the recording and replay indicators.
#pragma once

#include <string>

// The keyboard help page of the live or the replay mode.
const std::string& keyboardHelpPage(bool liveMode);
// The keys this program adds to those of the page, in the page's format (key column of 21
// characters, an empty line between entries, underscore lines as wide as the page's), listed
// below the page.
const std::string& keyboardHelpAdditions(bool liveMode);

// "<title>: Seq. <current>/<count>", the replay indicator.
std::string replayIndicator(const std::string& title, int currentSequence, int sequenceCount);
