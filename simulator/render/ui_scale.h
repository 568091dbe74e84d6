// The whole factor by which every text and control is drawn: large back buffers get larger
// texts and buttons, so that the layout looks on them as it does on a 1280-pixel-wide screen.
#pragma once

// Back buffers at least this wide are drawn at twice the size unless a scale is asked for.
constexpr int kDoubleScaleWidthPx = 2560;

// The scale asked for (1, 2 or 3), or with 0 the automatic one for a back buffer widthPx wide.
inline int chooseUiScale(int requested, int widthPx) {
    if (requested >= 1 && requested <= 3) return requested;
    return widthPx >= kDoubleScaleWidthPx ? 2 : 1;
}
