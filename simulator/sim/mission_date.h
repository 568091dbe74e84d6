// The calendar date of the world: the UTC date and time at mission time 0, kept in a small file of
// its own in the data directory ("mission_date.cfg", one line "YYYY-MM-DDTHH:MM"). The delivered
// world stands at J2000.0, which is what a missing or damaged file means; the launcher's "Set
// date" writes the file, the restore of the default configuration removes it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

inline constexpr const char* kMissionDateFile = "mission_date.cfg";
inline constexpr int kFirstSettableYear = 1900;
inline constexpr int kLastSettableYear = 2100;

// A UTC calendar instant. Leap seconds are not counted: every day has 86,400 s.
struct UtcDateTime {
    int year = 2000, month = 1, day = 1, hour = 0, minute = 0;
    double second = 0;
};

// J2000.0 (2000-01-01 12:00 TT) in UTC: the instant of the delivered world.
UtcDateTime j2000Utc();

// "YYYY-MM-DD" or "YYYY-MM-DDTHH:MM" (a blank may stand for the "T"), a real calendar day and
// time, 1900 to 2100. nullopt with error saying what is wrong.
std::optional<UtcDateTime> parseMissionDate(std::string_view text, std::string& error);

// Days since 1970-01-01 of a calendar day (proleptic Gregorian), and back.
long long daysFromCivil(int year, int month, int day);
UtcDateTime addSeconds(const UtcDateTime& start, double seconds);

// "2026-12-08T00:00", as the file holds it.
std::string missionDateFileText(const UtcDateTime& date);
// "2026-12-08 14:03:27 UTC", as the simulator shows it.
std::string calendarText(const UtcDateTime& date);

// The date at mission time 0: the file's, else J2000.0.
UtcDateTime readMissionDate(const std::string& dataDirectory);
// Replaces the file atomically; false on failure.
bool writeMissionDate(const std::string& dataDirectory, const UtcDateTime& date);
// Removes the file (the world is back at J2000.0).
void forgetMissionDate(const std::string& dataDirectory);
