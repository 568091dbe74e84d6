// The calendar line among the top-centre lines: the UTC date and time that the mission time
// stands for, counted from the world's date (the date file).
#pragma once

#include <string>

#include "mission_date.h"

class CalendarDateLine {
public:
    // Reads the world's date once, at start-up.
    void load(const std::string& dataDirectory) { start_ = readMissionDate(dataDirectory); }
    // "2026-12-08 14:03:27 UTC" at missionTimeS seconds after the world's date.
    std::string text(double missionTimeS) const;

private:
    UtcDateTime start_ = j2000Utc();
};
