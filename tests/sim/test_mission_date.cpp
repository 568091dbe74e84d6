// The world's calendar date: what "YYYY-MM-DD[THH:MM]" accepts and refuses, the calendar
// arithmetic across month, leap-day and century ends, and the date file's missing, damaged and
// written forms.
#include <gtest/gtest.h>

#include "mission_date.h"
#include "test_data_dir.h"

TEST(MissionDate, ParsesRealDatesAndRefusesTheRestWithAReason) {
    struct Case {
        const char* text;
        const char* shown;  // calendarText of the result, or nullptr for a refusal
        const char* reason;  // a word of the refusal
    };
    const Case cases[] = {
        {"2026-12-08", "2026-12-08 00:00:00 UTC", nullptr},
        {"2026-12-08T14:05", "2026-12-08 14:05:00 UTC", nullptr},
        {"2026-12-08 14:05", "2026-12-08 14:05:00 UTC", nullptr},
        {"1900-01-01", "1900-01-01 00:00:00 UTC", nullptr},
        {"2100-12-31T23:59", "2100-12-31 23:59:00 UTC", nullptr},
        {"2000-02-29", "2000-02-29 00:00:00 UTC", nullptr},
        {"1900-02-29", nullptr, "calendar"},  // 1900 was not a leap year
        {"2026-04-31", nullptr, "calendar"},
        {"2026-13-01", nullptr, "calendar"},
        {"2026-12-08T24:00", nullptr, "calendar"},
        {"2026-12-08T12:60", nullptr, "calendar"},
        {"1899-12-31", nullptr, "1900 to 2100"},
        {"2101-01-01", nullptr, "1900 to 2100"},
        {"2026-12-8", nullptr, "YYYY-MM-DD"},
        {"2026/12/08", nullptr, "YYYY-MM-DD"},
        {"2026-12-08T1405", nullptr, "YYYY-MM-DD"},
        {"", nullptr, "YYYY-MM-DD"},
        {"-026-12-08", nullptr, "YYYY-MM-DD"},
    };
    for (const Case& c : cases) {
        std::string error;
        std::optional<UtcDateTime> date = parseMissionDate(c.text, error);
        if (c.shown) {
            ASSERT_TRUE(date) << c.text << ": " << error;
            EXPECT_EQ(calendarText(*date), c.shown);
        } else {
            EXPECT_FALSE(date) << c.text;
            EXPECT_NE(error.find(c.reason), std::string::npos) << c.text << ": " << error;
        }
    }
}

TEST(MissionDate, MissionTimeAdvancesTheCalendar) {
    struct Case {
        UtcDateTime start;
        double seconds;
        const char* shown;
    };
    const Case cases[] = {
        {{2026, 12, 8, 0, 0, 0}, 0, "2026-12-08 00:00:00 UTC"},
        {{2026, 12, 31, 23, 59, 0}, 61, "2027-01-01 00:00:01 UTC"},
        {{2024, 2, 28, 12, 0, 0}, 86400, "2024-02-29 12:00:00 UTC"},
        {{2100, 2, 28, 12, 0, 0}, 86400, "2100-03-01 12:00:00 UTC"},
        {{1950, 1, 1, 0, 0, 0}, 365.25 * 86400 * 10, "1960-01-01 12:00:00 UTC"},
        {{1950, 1, 1, 0, 0, 0}, -1, "1949-12-31 23:59:59 UTC"},
        {j2000Utc(), 0, "2000-01-01 11:58:55 UTC"},
    };
    for (const Case& c : cases) EXPECT_EQ(calendarText(addSeconds(c.start, c.seconds)), c.shown) << c.shown;
    // A mission time near the float limit is held to about 300,000 years, never an overflow.
    EXPECT_EQ(calendarText(addSeconds(j2000Utc(), 3.4e38)), calendarText(addSeconds(j2000Utc(), 1e13)));
    EXPECT_EQ(daysFromCivil(1970, 1, 1), 0);
    EXPECT_EQ(daysFromCivil(2000, 3, 1) - daysFromCivil(2000, 2, 28), 2);
}

TEST(MissionDate, TheFileIsWrittenReadAndNeverAnError) {
    testdata::TempDataDir data;
    const std::string dir = data.path();
    EXPECT_EQ(calendarText(readMissionDate(dir)), "2000-01-01 11:58:55 UTC");  // missing: J2000.0
    ASSERT_TRUE(writeMissionDate(dir, {2026, 12, 8, 14, 5, 0}));
    EXPECT_EQ(testdata::readText(dir + kMissionDateFile), "2026-12-08T14:05\n");
    EXPECT_EQ(calendarText(readMissionDate(dir)), "2026-12-08 14:05:00 UTC");
    for (const char* damaged : {"", "yesterday\n", "2026-02-30T00:00\n", "\x01\x02\x03", "1800-01-01\n"}) {
        testdata::writeText(dir + kMissionDateFile, damaged);
        EXPECT_EQ(calendarText(readMissionDate(dir)), "2000-01-01 11:58:55 UTC") << damaged;
    }
    testdata::writeText(dir + kMissionDateFile, "2026-12-08\r\n");
    EXPECT_EQ(calendarText(readMissionDate(dir)), "2026-12-08 00:00:00 UTC");
    forgetMissionDate(dir);
    EXPECT_FALSE(testdata::exists(dir + kMissionDateFile));
}
