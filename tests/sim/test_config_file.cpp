// Configuration and selection files: entries up to the terminator, the 1000-entry limit, line
// ends, the 259-character first line, atomic writes and the safe-name check.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config_file.h"
#include "selection_file.h"
#include "test_data_dir.h"

using testdata::readText;
using testdata::TempDataDir;
using testdata::writeText;

TEST(ConfigurationFile, EntriesUpToTheTerminator) {
    TempDataDir dir;
    writeText(dir / "a.cfg", "Sun.cfg\r\nEarth.cfg\n\n#not a comment\n  -999 end\nAfter.cfg\n");
    std::vector<std::string> entries;
    ASSERT_TRUE(readConfigurationFile(dir / "a.cfg", entries));
    EXPECT_EQ(entries, (std::vector<std::string>{"Sun.cfg", "Earth.cfg", "", "#not a comment"}));

    // Written and read again, entries are the same.
    ASSERT_TRUE(writeConfigurationFile(dir / "b.cfg", entries));
    EXPECT_EQ(readText(dir / "b.cfg"), "Sun.cfg\nEarth.cfg\n\n#not a comment\n-999\n");
    std::vector<std::string> back;
    ASSERT_TRUE(readConfigurationFile(dir / "b.cfg", back));
    EXPECT_EQ(back, entries);
}

TEST(ConfigurationFile, LimitsAndRefusals) {
    TempDataDir dir;
    std::string thousand;
    for (int i = 0; i < 1000; ++i) thousand += "Obj" + std::to_string(i) + ".cfg\n";
    writeText(dir / "1000.cfg", thousand + "-999\n");
    writeText(dir / "1001.cfg", thousand + "One.cfg\n-999\n");
    writeText(dir / "noterm.cfg", "Sun.cfg\nShip.cfg");
    writeText(dir / "empty.cfg", "-999\n");

    std::vector<std::string> entries{"keep"};
    ASSERT_TRUE(readConfigurationFile(dir / "1000.cfg", entries));
    EXPECT_EQ(entries.size(), 1000u);
    EXPECT_EQ(entries.back(), "Obj999.cfg");

    entries = {"keep"};
    std::string reason;
    EXPECT_FALSE(readConfigurationFile(dir / "1001.cfg", entries, &reason));
    EXPECT_NE(reason.find("more than 1000"), std::string::npos);
    EXPECT_FALSE(readConfigurationFile(dir / "noterm.cfg", entries, &reason));
    EXPECT_NE(reason.find("no terminator"), std::string::npos);
    EXPECT_FALSE(readConfigurationFile(dir / "absent.cfg", entries));
    EXPECT_EQ(entries, std::vector<std::string>{"keep"});

    ASSERT_TRUE(readConfigurationFile(dir / "empty.cfg", entries));
    EXPECT_TRUE(entries.empty());
}

TEST(SelectionFile, FirstLineOnly) {
    TempDataDir dir;
    std::string name;
    writeText(dir / "s1", "Default Configuration\r\n-999\n");
    ASSERT_TRUE(readSelectionFile(dir / "s1", name));
    EXPECT_EQ(name, "Default Configuration");

    writeText(dir / "s2", "NoLineEnd");  // keeps its whole first line
    ASSERT_TRUE(readSelectionFile(dir / "s2", name));
    EXPECT_EQ(name, "NoLineEnd");

    writeText(dir / "s3", "\n-999\n");
    ASSERT_TRUE(readSelectionFile(dir / "s3", name));
    EXPECT_EQ(name, "");

    writeText(dir / "s4", std::string(300, 'x') + "\n-999\n");  // cut at 259 characters
    ASSERT_TRUE(readSelectionFile(dir / "s4", name));
    EXPECT_EQ(name, std::string(259, 'x'));
    writeText(dir / "s5", std::string(258, 'y') + "\n");
    ASSERT_TRUE(readSelectionFile(dir / "s5", name));
    EXPECT_EQ(name, std::string(258, 'y'));

    name = "keep";
    EXPECT_FALSE(readSelectionFile(dir / "absent", name));
    EXPECT_EQ(name, "keep");

    ASSERT_TRUE(writeSelectionFile(dir / "w", "My Flight"));
    EXPECT_EQ(readText(dir / "w"), "My Flight\n-999\n");
    EXPECT_FALSE(writeSelectionFile(dir / "w", "two\nlines"));
    EXPECT_EQ(readText(dir / "w"), "My Flight\n-999\n");
}

TEST(SelectionFile, SafeNames) {
    EXPECT_TRUE(isSafePathName("Default Configuration"));
    EXPECT_TRUE(isSafePathName("Sun.cfg"));
    EXPECT_TRUE(isSafePathName("a..b"));
    EXPECT_FALSE(isSafePathName(""));
    EXPECT_FALSE(isSafePathName(".."));
    EXPECT_FALSE(isSafePathName(".hidden"));
    EXPECT_FALSE(isSafePathName("../etc"));
    EXPECT_FALSE(isSafePathName("a/b"));
    EXPECT_FALSE(isSafePathName("a\\b"));
    EXPECT_FALSE(isSafePathName("tab\there"));
    EXPECT_FALSE(isSafePathName("cr\r"));
}
