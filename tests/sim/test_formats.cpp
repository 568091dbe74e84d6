// Number formatting and parsing of the data files: six-digit general notation, "na" markers,
// C-style leading-number reading, independent of the process locale.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>

#include "float_format.h"
#include "sim_object.h"

TEST(FormatFloat, GeneralNotationWithSixDigits) {
    EXPECT_EQ(formatFloat(0.0f), "0");
    EXPECT_EQ(formatFloat(1.989e30f), "1.989e+30");
    EXPECT_EQ(formatFloat(1e-5f), "1e-05");
    EXPECT_EQ(formatFloat(0.0001f), "0.0001");
    EXPECT_EQ(formatFloat(123456.0f), "123456");
    EXPECT_EQ(formatFloat(1234567.0f), "1.23457e+06");
    EXPECT_EQ(formatFloat(999999.5f), "1e+06");  // rounding moves the exponent to 6
    EXPECT_EQ(formatFloat(-2.5f), "-2.5");
    EXPECT_EQ(formatFloat(-6.672e-20f), "-6.672e-20");
    EXPECT_EQ(formatFloat(0.0166667f), "0.0166667");
    EXPECT_EQ(formatFloat(1.0f), "1");
    EXPECT_EQ(formatFloat(1e38f), "1e+38");
    EXPECT_EQ(formatFloat(kNaFloat), "na");
    EXPECT_EQ(formatInt(3), "3");
    EXPECT_EQ(formatInt(-999), "-999");
    EXPECT_EQ(formatInt(kNaInt), "na");
}

TEST(FormatFloat, DoesNotDependOnTheLocale) {
    // Under a decimal-comma locale the written and read forms must stay those of the C locale.
    const char* old = std::setlocale(LC_ALL, nullptr);
    std::string saved = old ? old : "C";
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8") && !std::setlocale(LC_ALL, "fr_FR.UTF-8"))
        GTEST_SKIP() << "no decimal-comma locale installed";
    EXPECT_EQ(formatFloat(2.5f), "2.5");
    EXPECT_EQ(formatFloat(1.989e30f), "1.989e+30");
    EXPECT_FLOAT_EQ(parseLeadingFloat("2.5"), 2.5f);
    std::setlocale(LC_ALL, saved.c_str());
}

TEST(ParseNumbers, LeadingNumberRules) {
    EXPECT_FLOAT_EQ(parseLeadingFloat("   -1.5e3xyz"), -1500.0f);
    EXPECT_FLOAT_EQ(parseLeadingFloat("+2"), 2.0f);
    EXPECT_FLOAT_EQ(parseLeadingFloat(".5"), 0.5f);
    EXPECT_FLOAT_EQ(parseLeadingFloat("7."), 7.0f);
    EXPECT_FLOAT_EQ(parseLeadingFloat("1e"), 1.0f);        // incomplete exponent is not read
    EXPECT_FLOAT_EQ(parseLeadingFloat("1.989e+030"), 1.989e30f);  // three exponent digits
    EXPECT_FLOAT_EQ(parseLeadingFloat("0x10"), 0.0f);      // no hexadecimal
    EXPECT_FLOAT_EQ(parseLeadingFloat("inf"), 0.0f);
    EXPECT_FLOAT_EQ(parseLeadingFloat("abc"), 0.0f);
    EXPECT_FLOAT_EQ(parseLeadingFloat(""), 0.0f);
    EXPECT_FLOAT_EQ(parseLeadingFloat("-"), 0.0f);
    EXPECT_TRUE(std::isinf(parseLeadingFloat("1e39")));
    EXPECT_TRUE(std::isinf(parseLeadingFloat("-1e400")));
    EXPECT_EQ(parseLeadingFloat("1e-60"), 0.0f);
    EXPECT_EQ(parseLeadingFloat("3.40282e+38"), 3.40282e38f);
    size_t consumed = 0;
    parseLeadingFloat(" 12 34", &consumed);
    EXPECT_EQ(consumed, 3u);

    bool digits = false;
    EXPECT_EQ(parseLeadingInt("  -999 trailing", &digits), -999);
    EXPECT_TRUE(digits);
    EXPECT_EQ(parseLeadingInt("x3", &digits), 0);
    EXPECT_FALSE(digits);
    EXPECT_EQ(parseLeadingInt("3.9"), 3);
    EXPECT_EQ(parseLeadingInt("99999999999"), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(parseLeadingInt("-99999999999"), std::numeric_limits<int32_t>::min());
}

TEST(ParseNumbers, NaOnlyWhenExact) {
    EXPECT_EQ(parseFloatItem("na"), kNaFloat);
    EXPECT_EQ(parseFloatItem("NA"), 0.0f);
    EXPECT_EQ(parseFloatItem("na "), 0.0f);
    EXPECT_EQ(parseFloatItem(" na"), 0.0f);
    EXPECT_EQ(parseIntItem("na"), kNaInt);
    EXPECT_EQ(parseIntItem("Na"), 0);
    EXPECT_EQ(parseIntItem("   4"), 4);
    EXPECT_EQ(parseFlagItem("na"), 0);
    EXPECT_EQ(parseFlagItem("1"), 1);
    // The written form of every marker reads back as the marker.
    EXPECT_EQ(parseFloatItem(formatFloat(kNaFloat)), kNaFloat);
    EXPECT_EQ(parseIntItem(formatInt(kNaInt)), kNaInt);
}

TEST(ParseNumbers, WrittenValuesReadBackWithinSixDigits) {
    for (float v : {0.0f, 1.0f, -1.0f, 3.14159265f, 1.989e30f, 6.0e24f, -7.3e-7f, 149597870.7f,
                    1e-38f, 3.4e38f, 0.0001f, 99999.95f}) {
        float back = parseLeadingFloat(formatFloat(v));
        EXPECT_NEAR(back, v, std::fabs(v) * 5e-6f) << formatFloat(v);
        // A second round trip is exact: the written text is a fixed point.
        EXPECT_EQ(formatFloat(back), formatFloat(v));
    }
}
