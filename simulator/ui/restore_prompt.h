// The F12 prompt that restores the default configuration: a question, a "yes" and a "no" icon
// with their hit squares, and after a "yes" the outcome of the restore. It is modal: while it is
// shown, clicks go to it alone. The answer logic works without GL; drawing needs the icons,
// which are loaded once per device reset.
#pragma once

#include <optional>
#include <string>

#include "gl_device.h"
#include "icon_sprite.h"

class TextFont;

inline constexpr const char* kRestoreYesIconFile = "Media/Icons/yes64.bmp";
inline constexpr const char* kRestoreNoIconFile = "Media/Icons/no64.bmp";
inline constexpr const char* kRestoreQuestionText = "Do you really want to restore the default configuration?";
inline constexpr const char* kRestoreDoneText =
    "The default configuration has been restored.\n\n       Press Esc to exit and restart.";
inline constexpr const char* kRestoreFailedText =
    "The default configuration has NOT been restored.\n\n Please contact support. Press Esc to continue.";

enum class RestoreAnswer { None, Yes, No };
enum class RestoreOutcome { None, Restored, Failed };

// The icon under the client pixel (x, y) on a screen of w x h pixels: the hit squares, edges
// included, are x from w/2 - 50 to w/2 - 18 (yes) and from w/2 + 18 to w/2 + 50 (no), y from
// h/2 + 25 to h/2 + 57.
RestoreAnswer restoreAnswerAt(int x, int y, int w, int h);

class RestorePrompt {
public:
    // Loads both icons (GL context current); the path of one that cannot be loaded, else nothing.
    std::optional<std::string> loadIcons(const std::string& dataDirectory);
    void releaseIcons();

    // A left click while the prompt is shown: the answer it gives. Once the restore has run, the
    // prompt only shows its outcome and takes no further answer.
    RestoreAnswer click(int x, int y, int w, int h) const;

    void setOutcome(RestoreOutcome outcome) { outcome_ = outcome; }
    RestoreOutcome outcome() const { return outcome_; }
    bool answered() const { return outcome_ != RestoreOutcome::None; }

    // The question, both icons (the one under the pointer opaque, the other dimmed) and the
    // outcome text once there is one; font is the message font (font 1).
    void draw(GlDevice& device, TextFont& font, int w, int h, int cursorX, int cursorY);

private:
    IconSprite yes_, no_;
    RestoreOutcome outcome_ = RestoreOutcome::None;
};
