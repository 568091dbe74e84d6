// Formatting of distances and durations with units.
#include "readable_units.h"

#include <cmath>
#include <cstdio>

std::string groupedNumber(double value, int decimals) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, std::fabs(value));
    std::string digits(buffer);
    size_t point = digits.find('.');
    std::string whole = digits.substr(0, point);
    std::string fraction = point == std::string::npos ? "" : digits.substr(point);
    std::string grouped;
    for (size_t i = 0; i < whole.size(); ++i) {
        if (i > 0 && (whole.size() - i) % 3 == 0) grouped += ',';
        grouped += whole[i];
    }
    bool negative = value < 0 && digits.find_first_not_of("0.") != std::string::npos;
    return (negative ? "-" : "") + grouped + fraction;
}

std::string readableDistance(double km) {
    char buffer[64];
    const double size = std::fabs(km);
    if (!std::isfinite(km)) return "infinite";
    if (size < 10) {
        std::snprintf(buffer, sizeof buffer, "%.1f km", km);
        return buffer;
    }
    if (size < 1e6) return groupedNumber(km, 0) + " km";
    if (size < 0.1 * kAstronomicalUnitKm) {
        std::snprintf(buffer, sizeof buffer, "%.2f million km", km / 1e6);
        return buffer;
    }
    std::snprintf(buffer, sizeof buffer, "%.3f AU (%s million km)", km / kAstronomicalUnitKm,
                  groupedNumber(km / 1e6, 1).c_str());
    return buffer;
}

std::string readableDuration(double seconds) {
    char buffer[96];
    if (!std::isfinite(seconds)) return "infinite";
    const double days = seconds / kSecondsPerDay;
    if (days < 2) {
        std::snprintf(buffer, sizeof buffer, "%.2f hours", seconds / 3600);
    } else if (days < 2 * kDaysPerJulianYear) {
        std::snprintf(buffer, sizeof buffer, "%.2f days", days);
    } else {
        std::snprintf(buffer, sizeof buffer, "%.2f years (%s days)", days / kDaysPerJulianYear,
                      groupedNumber(days, 1).c_str());
    }
    return buffer;
}
