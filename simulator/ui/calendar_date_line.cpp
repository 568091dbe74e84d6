// Top-centre calendar line.
#include "calendar_date_line.h"

std::string CalendarDateLine::text(double missionTimeS) const {
    return calendarText(addSeconds(start_, missionTimeS));
}
