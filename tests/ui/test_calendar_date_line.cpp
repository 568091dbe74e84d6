// The top-centre calendar line: the date the launcher set (or J2000.0 without one) advanced by the
// mission time, as a run of the simulator would show it.
#include <gtest/gtest.h>

#include "calendar_date_line.h"
#include "test_data_dir.h"

TEST(CalendarDateLine, ShowsTheSetDateAdvancedByMissionTime) {
    struct Case {
        const char* file;  // mission_date.cfg, or nullptr for none
        double missionTimeS;
        const char* shown;
    };
    const Case cases[] = {
        {"1950-01-01T00:00\n", 0, "1950-01-01 00:00:00 UTC"},
        {"2026-12-08T00:00\n", 0, "2026-12-08 00:00:00 UTC"},
        {"2026-12-08T00:00\n", 3 * 86400 + 3723.5, "2026-12-11 01:02:03 UTC"},
        {"2100-06-01T18:30\n", 0, "2100-06-01 18:30:00 UTC"},
        {nullptr, 0, "2000-01-01 11:58:55 UTC"},
        {nullptr, 86400, "2000-01-02 11:58:55 UTC"},
        {"not a date\n", 0, "2000-01-01 11:58:55 UTC"},
    };
    for (const Case& c : cases) {
        testdata::TempDataDir dir;
        if (c.file) testdata::writeText(dir / kMissionDateFile, c.file);
        CalendarDateLine line;
        line.load(dir.path());
        EXPECT_EQ(line.text(c.missionTimeS), c.shown);
    }
}
