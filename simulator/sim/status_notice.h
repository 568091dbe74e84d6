// Reasons shown on screen for a few seconds: why a request (the warp, a turn, the jump distance
// to a target, a jump) was refused or dropped. The rules that refuse set the text; the program
// counts the time down after every frame step, drawn or not, and the top centre of the screen
// shows the text while time is left.
#pragma once

#include <string>

// Seconds of real time a reason stays up.
inline constexpr float kNoticeShownS = 4.0f;

struct StatusNotice {
    std::string text;
    float leftS = 0;
    bool shown() const { return leftS > 0 && !text.empty(); }
};

inline void showNotice(StatusNotice& notice, std::string text) {
    notice.text = std::move(text);
    notice.leftS = kNoticeShownS;
}

inline void ageNotice(StatusNotice& notice, float elapsedS) {
    if (notice.leftS > 0) notice.leftS -= elapsedS;
}
