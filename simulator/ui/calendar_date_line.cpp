// Top-centre calendar line.
#include "calendar_date_line.h"

#include "text_font.h"

namespace {

constexpr uint32_t kDateArgb = 0xFFB0C8FF;  // pale blue: information, not a message
// Below the drift gauge's two rows, so that no top-centre line ever covers it.
constexpr float kTopPx = 112;

}  // namespace

std::string CalendarDateLine::text(double missionTimeS) const {
    return calendarText(addSeconds(start_, missionTimeS));
}

void CalendarDateLine::draw(TextFont& font, double missionTimeS, int w) const {
    const std::string line = text(missionTimeS);
    int cx = 0, cy = 0;
    font.measureText(line.c_str(), &cx, &cy);
    font.drawText(static_cast<float>(w / 2 - cx / 2), kTopPx, kDateArgb, line.c_str());
}
