// Numbers as a user reads them: distances in km, millions of km or astronomical units, durations
// in hours, days or years, always with the unit written out.
#pragma once

#include <string>

constexpr double kAstronomicalUnitKm = 149597870.7;  // IAU 2012 definition
constexpr double kSecondsPerDay = 86400;
constexpr double kDaysPerJulianYear = 365.25;

// "6,371 km", "1.50 million km", "5.203 AU (778.3 million km)"; "3.2 km" below 10 km.
std::string readableDistance(double km);
// "5.3 hours", "27.32 days", "11.86 years (4,332.6 days)".
std::string readableDuration(double seconds);
// Digits with thousands separators: 384400.4 -> "384,400" (decimals 0), "4,332.6" (decimals 1).
std::string groupedNumber(double value, int decimals);
