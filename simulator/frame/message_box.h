// The one way the simulator shows a message: always to standard error, and in a system message
// box only where a display exists and boxes are enabled (never in headless or test runs).
#pragma once

#include <string>

enum class MessageIcon { Information, Warning, Error };

// Global switch; boxes are enabled by default. The environment variable
// CELESTRIX_NO_MESSAGE_BOXES (any value) disables them as well.
void setMessageBoxesEnabled(bool enabled);
bool messageBoxesEnabled();

// Writes "caption: text" to stderr, then shows the box when enabled and a video driver with a
// display is available. Blocks until the user closes the box.
void showMessageBox(const std::string& caption, const std::string& text, MessageIcon icon);
