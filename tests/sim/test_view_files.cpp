// last_view.cfg and time.cfg: exact written form, tolerant reading, and the cases that fall back
// to the identity matrix or a mission time of 0.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "test_data_dir.h"
#include "view_files.h"

using testdata::readText;
using testdata::TempDataDir;
using testdata::writeText;

TEST(LastView, WrittenFormAndRoundTrip) {
    TempDataDir dir;
    ASSERT_TRUE(writeLastView(dir / "last_view.cfg", Mat4f::identity()));
    EXPECT_EQ(readText(dir / "last_view.cfg"), "1 0 0 0\n0 1 0 0\n0 0 1 0\n0 0 0 1\n");

    Mat4f m = rotationY(0.7f) * rotationX(-1.2f);
    m.m[3][0] = 1.5e8f;
    ASSERT_TRUE(writeLastView(dir / "v.cfg", m));
    Mat4f back;
    ASSERT_TRUE(readLastView(dir / "v.cfg", back));
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) EXPECT_NEAR(back.m[r][c], m.m[r][c], 1e-5f * std::max(1.0f, std::fabs(m.m[r][c])));
    ASSERT_TRUE(writeLastView(dir / "v2.cfg", back));
    EXPECT_EQ(readText(dir / "v2.cfg"), readText(dir / "v.cfg"));
}

TEST(LastView, ReadingAnyWhiteSpaceAndFailures) {
    TempDataDir dir;
    writeText(dir / "ws.cfg", "  0 1 0 0\r\n\t-1 0 0 0 0 0 1 0\n\n0 0 0 1e+00");
    Mat4f m;
    ASSERT_TRUE(readLastView(dir / "ws.cfg", m));
    EXPECT_EQ(m.m[0][1], 1.0f);
    EXPECT_EQ(m.m[1][0], -1.0f);
    EXPECT_EQ(m.m[3][3], 1.0f);

    Mat4f untouched = rotationZ(0.3f);
    Mat4f out = untouched;
    writeText(dir / "short.cfg", "1 0 0 0\n0 1 0 0\n0 0 1 0\n0 0 0\n");
    EXPECT_FALSE(readLastView(dir / "short.cfg", out));
    writeText(dir / "word.cfg", "1 0 0 0\n0 na 0 0\n0 0 1 0\n0 0 0 1\n");
    EXPECT_FALSE(readLastView(dir / "word.cfg", out));
    EXPECT_FALSE(readLastView(dir / "absent.cfg", out));
    EXPECT_EQ(out, untouched);
}

TEST(TimeFile, OneNumberNoLineEnd) {
    TempDataDir dir;
    ASSERT_TRUE(writeTimeFile(dir / "time.cfg", 1234567.0f));
    EXPECT_EQ(readText(dir / "time.cfg"), "1.23457e+06");
    float t = 0;
    ASSERT_TRUE(readTimeFile(dir / "time.cfg", t));
    EXPECT_EQ(t, 1234570.0f);  // the next start continues from the rounded value

    ASSERT_TRUE(writeTimeFile(dir / "time.cfg", 0.0f));
    EXPECT_EQ(readText(dir / "time.cfg"), "0");

    writeText(dir / "blank.cfg", "");
    t = 5;
    ASSERT_TRUE(readTimeFile(dir / "blank.cfg", t));
    EXPECT_EQ(t, 0.0f);
    writeText(dir / "text.cfg", "  soon");
    ASSERT_TRUE(readTimeFile(dir / "text.cfg", t));
    EXPECT_EQ(t, 0.0f);
    writeText(dir / "crlf.cfg", " 42.5\r\n");
    ASSERT_TRUE(readTimeFile(dir / "crlf.cfg", t));
    EXPECT_EQ(t, 42.5f);

    t = 7;
    EXPECT_FALSE(readTimeFile(dir / "absent.cfg", t));
    EXPECT_EQ(t, 7.0f);
}
