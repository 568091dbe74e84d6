// The launch pad's rules: the probe's answer, the version sentence, the simulator argument and
// the size of a configuration.
#include <gtest/gtest.h>

#include "launch_rules.h"
#include "test_data_dir.h"

TEST(LaunchRules, ProbeCodesAndSentences) {
    EXPECT_EQ(parseProbeCode("0x30300\n"), 0x30300);
    EXPECT_EQ(parseProbeCode("40500"), 0x40500);
    EXPECT_EQ(parseProbeCode(""), std::nullopt);
    EXPECT_EQ(parseProbeCode("0x0\n"), std::nullopt);
    EXPECT_EQ(parseProbeCode("0x30300 trailing"), std::nullopt);
    EXPECT_EQ(parseProbeCode("zz"), std::nullopt);
    EXPECT_EQ(parseProbeCode("-0x30300"), std::nullopt);
    EXPECT_EQ(parseProbeCode("0xffffffffffff"), std::nullopt);

    EXPECT_FALSE(isOpenGlSufficient(0x30200));
    EXPECT_TRUE(isOpenGlSufficient(0x30300));
    EXPECT_TRUE(isOpenGlSufficient(0x40600));
    EXPECT_FALSE(isOpenGlSufficient(std::nullopt));
    EXPECT_EQ(openGlVersionSentence(0x20100), "\n\nOpenGL 2.1 is installed.");
    EXPECT_EQ(openGlVersionSentence(0x30000), "\n\nOpenGL 3.0 is installed.");
    EXPECT_EQ(openGlVersionSentence(std::nullopt), "\n\nUnable to determine OpenGL version.");

    EXPECT_EQ(simulatorArgument("/data/", kLiveMode), "/data/|1");
    EXPECT_EQ(simulatorArgument("/data", kReplayMode), "/data/|0");
}

TEST(LaunchRules, ConfigurationEntriesStopAtTheEndMarkerAndPastTheLimit) {
    testdata::TempDataDir dir;
    auto count = [&](const std::string& text) {
        testdata::writeText(dir.path() + "c.cfg", text);
        return countConfigurationEntries(dir.path() + "c.cfg", 1000);
    };
    EXPECT_EQ(count("A.cfg\nB.cfg\n-999\nC.cfg\n"), 2);
    EXPECT_EQ(count("A.cfg\r\n  -999junk\n"), 1);  // the line's integer value is what counts
    EXPECT_EQ(count("A.cfg\n-9990\n"), 2);
    EXPECT_EQ(count("A.cfg"), 1);
    EXPECT_EQ(count(""), 0);
    std::string many;
    for (int i = 0; i < 5000; ++i) many += "X.cfg\n";
    EXPECT_EQ(count(many), 1001);  // counting stops once past the limit
    EXPECT_EQ(countConfigurationEntries(dir.path() + "missing.cfg", 1000), std::nullopt);
}
