// Calendar arithmetic and the date file.
#include "mission_date.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "text_file.h"

namespace {

bool leapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int daysInMonth(int y, int m) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && leapYear(y) ? 29 : kDays[m - 1];
}

// Reads exactly n digits at text[pos]; -1 when they are not all digits.
int digits(std::string_view text, size_t pos, size_t n) {
    if (pos + n > text.size()) return -1;
    int value = 0;
    for (size_t i = pos; i < pos + n; ++i) {
        if (text[i] < '0' || text[i] > '9') return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

}  // namespace

UtcDateTime j2000Utc() {
    // 12:00 TT less TT - UTC at that instant (32.184 s + 32 leap seconds).
    return {2000, 1, 1, 11, 58, 55.816};
}

std::optional<UtcDateTime> parseMissionDate(std::string_view text, std::string& error) {
    const bool withTime = text.size() == 16;
    UtcDateTime d;
    d.year = digits(text, 0, 4);
    d.month = digits(text, 5, 2);
    d.day = digits(text, 8, 2);
    bool shape = (text.size() == 10 || withTime) && d.year >= 0 && d.month >= 0 && d.day >= 0 &&
                 text[4] == '-' && text[7] == '-';
    if (shape && withTime) {
        d.hour = digits(text, 11, 2);
        d.minute = digits(text, 14, 2);
        shape = (text[10] == 'T' || text[10] == ' ') && text[13] == ':' && d.hour >= 0 && d.minute >= 0;
    }
    if (!shape) {
        error = "'" + std::string(text) + "' is not a date of the form YYYY-MM-DD or YYYY-MM-DDTHH:MM.";
        return std::nullopt;
    }
    if (d.month < 1 || d.month > 12 || d.day < 1 || d.day > daysInMonth(d.year, d.month) ||
        d.hour > 23 || d.minute > 59) {
        error = "'" + std::string(text) + "' is not a day and time of the calendar.";
        return std::nullopt;
    }
    if (d.year < kFirstSettableYear || d.year > kLastSettableYear) {
        error = "'" + std::string(text) + "' lies outside the years " + std::to_string(kFirstSettableYear) +
                " to " + std::to_string(kLastSettableYear) + " (UTC).";
        return std::nullopt;
    }
    return d;
}

long long daysFromCivil(int year, int month, int day) {
    // Howard Hinnant's days_from_civil: eras of 400 years, March-based years.
    const long long y = year - (month <= 2 ? 1 : 0);
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

UtcDateTime addSeconds(const UtcDateTime& start, double seconds) {
    double total = static_cast<double>(daysFromCivil(start.year, start.month, start.day)) * 86400.0 +
                   start.hour * 3600.0 + start.minute * 60.0 + start.second + seconds;
    // Far beyond any mission (a float mission time reaches 3e38 s): held to about 300,000 years so
    // that the day count stays an integer.
    if (!std::isfinite(total)) total = 0;
    total = std::clamp(total, -1e13, 1e13);
    long long days = static_cast<long long>(std::floor(total / 86400.0));
    double rest = total - static_cast<double>(days) * 86400.0;
    // civil_from_days
    const long long z = days + 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    UtcDateTime out;
    out.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    out.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    out.year = static_cast<int>(yoe + era * 400 + (out.month <= 2 ? 1 : 0));
    out.hour = static_cast<int>(rest / 3600.0);
    rest -= out.hour * 3600.0;
    out.minute = static_cast<int>(rest / 60.0);
    out.second = rest - out.minute * 60.0;
    return out;
}

std::string missionDateFileText(const UtcDateTime& d) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02dT%02d:%02d", d.year, d.month, d.day, d.hour, d.minute);
    return buffer;
}

std::string calendarText(const UtcDateTime& d) {
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d UTC", d.year, d.month, d.day, d.hour,
                  d.minute, static_cast<int>(d.second));
    return buffer;
}

UtcDateTime readMissionDate(const std::string& dataDirectory) {
    std::string contents;
    if (!readWholeFile(dataDirectory + kMissionDateFile, contents, nullptr, 4096)) return j2000Utc();
    const std::vector<TextLine> lines = splitLines(contents);
    std::string error;
    std::optional<UtcDateTime> date = lines.empty() ? std::nullopt : parseMissionDate(lines[0].text, error);
    return date ? *date : j2000Utc();
}

bool writeMissionDate(const std::string& dataDirectory, const UtcDateTime& date) {
    return writeFileAtomically(dataDirectory + kMissionDateFile, missionDateFileText(date) + "\n");
}

void forgetMissionDate(const std::string& dataDirectory) {
    std::remove((dataDirectory + kMissionDateFile).c_str());
}
