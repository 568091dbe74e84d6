// Item access on object files: reading values as the dialogs see them, replacing one value while
// every other byte stays, and failures that leave the file whole.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "object_item.h"
#include "selection_line.h"
#include "test_data_dir.h"

using testdata::readText;
using testdata::TempDataDir;
using testdata::writeText;

namespace {

const std::string kObject =
    "#\n# Item 8. in a comment is not the item\n#\n"
    "Item 0. configuration file = Objects/Moon.cfg\n"
    "Item 1. mass [kg] = 7.342e+22\n"
    "Item 8. orbital relationship = 3\n"
    "Item 15. mesh file = na\n"
    "Item 16. texture file = Media/Textures/moon.jpg\n"
    "Item 18. rotation = x = 5\n"
    "Item 20. no equals sign\n"
    "Item 21. radius [km] =\n"
    "-999\n";

}  // namespace

TEST(ObjectItem, ReadsValuesAsTheDialogsSeeThem) {
    TempDataDir dir;
    std::string path = dir.path() + "Objects/Moon.cfg";
    writeText(path, kObject);

    EXPECT_EQ(readObjectItem(path, "Item 1.", dir.path()).value, "7.342e+22");
    // The comment line mentioning the label is skipped; the item line is found.
    EXPECT_EQ(readObjectItem(path, "Item 8.", dir.path()).value, "3");
    // File-name items get the data directory in front, "na" stays "na".
    EXPECT_EQ(readObjectItem(path, "Item 0.", dir.path()).value, dir.path() + "Objects/Moon.cfg");
    EXPECT_EQ(readObjectItem(path, "Item 15.", dir.path()).value, "na");
    EXPECT_EQ(readObjectItem(path, "Item 16.", dir.path()).value, dir.path() + "Media/Textures/moon.jpg");
    // The value starts after the line's last "=".
    EXPECT_EQ(readObjectItem(path, "Item 18.", dir.path()).value, "5");
    // "Item 1." is not found inside "Item 15." or "Item 16.": the first match is the real Item 1.
    ItemRead r21 = readObjectItem(path, "Item 21.", dir.path());
    EXPECT_EQ(r21.status, ItemStatus::Ok);
    EXPECT_EQ(r21.value, "");

    EXPECT_EQ(readObjectItem(path, "Item 20.", dir.path()).status, ItemStatus::NoSuchItem);
    EXPECT_EQ(readObjectItem(path, "Item 44.", dir.path()).status, ItemStatus::NoSuchItem);
    EXPECT_EQ(readObjectItem(dir.path() + "Objects/Gone.cfg", "Item 1.", dir.path()).status,
              ItemStatus::CannotOpen);
    EXPECT_EQ(readObjectItem(dir.path() + "Objects", "Item 1.", dir.path()).status,
              ItemStatus::CannotOpen);
}

TEST(ObjectItem, WriteReplacesOneValueAndKeepsEverythingElse) {
    TempDataDir dir;
    std::string path = dir.path() + "Objects/Moon.cfg";
    writeText(path, kObject);

    ASSERT_EQ(writeObjectItem(path, "Item 8.", "na", dir.path()), ItemStatus::Ok);
    std::string expected = kObject;
    expected.replace(expected.find("relationship = 3"), 16, "relationship = na");
    EXPECT_EQ(readText(path), expected);

    // A path item loses the data directory in front; the file holds the relative path.
    ASSERT_EQ(writeObjectItem(path, "Item 16.", dir.path() + "Media/x.png", dir.path()), ItemStatus::Ok);
    EXPECT_NE(readText(path).find("Item 16. texture file = Media/x.png\n"), std::string::npos);
    EXPECT_EQ(readObjectItem(path, "Item 16.", dir.path()).value, dir.path() + "Media/x.png");
    // A path outside the data directory is kept whole rather than cut by length.
    ASSERT_EQ(writeObjectItem(path, "Item 15.", "/elsewhere/m.x", dir.path()), ItemStatus::Ok);
    EXPECT_EQ(readObjectItem(path, "Item 15.", dir.path()).value, dir.path() + "/elsewhere/m.x");

    // An item ending in "=" gets "= value".
    ASSERT_EQ(writeObjectItem(path, "Item 21.", "1737", dir.path()), ItemStatus::Ok);
    EXPECT_NE(readText(path).find("Item 21. radius [km] = 1737\n"), std::string::npos);

    // A last line without a line end keeps having none, and keeps its last character.
    writeText(path, "Item 1. mass [kg] = 5\nItem 8. orbits = 2");
    ASSERT_EQ(writeObjectItem(path, "Item 8.", "12", dir.path()), ItemStatus::Ok);
    EXPECT_EQ(readText(path), "Item 1. mass [kg] = 5\nItem 8. orbits = 12");
}

TEST(ObjectItem, FailedWritesLeaveTheFileWhole) {
    TempDataDir dir;
    std::string path = dir.path() + "Objects/Moon.cfg";
    writeText(path, kObject);

    EXPECT_EQ(writeObjectItem(path, "Item 44.", "1", dir.path()), ItemStatus::NoSuchItem);
    EXPECT_EQ(writeObjectItem(path, "Item 1.", "1\nItem 2. = 3", dir.path()), ItemStatus::BadValue);
    EXPECT_EQ(writeObjectItem(dir.path() + "Objects/Gone.cfg", "Item 1.", "1", dir.path()),
              ItemStatus::CannotOpen);
    EXPECT_FALSE(testdata::exists(dir.path() + "Objects/Gone.cfg"));
    EXPECT_EQ(readText(path), kObject);

    // A folder that refuses new files: the temporary file cannot be made, the old file stays.
    if (geteuid() != 0) {
        ASSERT_EQ(chmod((dir.path() + "Objects").c_str(), 0555), 0);
        EXPECT_EQ(writeObjectItem(path, "Item 1.", "1", dir.path()), ItemStatus::WriteFailed);
        chmod((dir.path() + "Objects").c_str(), 0755);
        EXPECT_EQ(readText(path), kObject);
        EXPECT_EQ(testdata::listFiles(dir.path() + "Objects"), std::vector<std::string>{"Moon.cfg"});
    }
}

// What a write puts in must read back as written, and must not move any other item.
TEST(ObjectItem, WrittenValuesReadBackAndNeverTakeOverAnotherItem) {
    TempDataDir dir;
    std::string path = dir.path() + "Objects/Moon.cfg";
    // Windows line ends and a stray carriage return stay byte for byte through a write.
    const std::string before =
        "Item 1. mass [kg] = 5\r\n"
        "Item 2. x [km] = Item 3. is quoted here\r\r\n"
        "Item 3. y [km] = 7\r\n"
        "Item 4. z [km] = 9";
    writeText(path, before);
    // A line that holds a label only after its "=" is not that item's line.
    EXPECT_EQ(readObjectItem(path, "Item 3.", dir.path()).value, "7");

    ASSERT_EQ(writeObjectItem(path, "Item 1.", "Item 4. z [km]", dir.path()), ItemStatus::Ok);
    EXPECT_EQ(readObjectItem(path, "Item 1.", dir.path()).value, "Item 4. z [km]");
    EXPECT_EQ(readObjectItem(path, "Item 4.", dir.path()).value, "9");
    std::string expected = before;
    expected.replace(expected.find("= 5"), 3, "= Item 4. z [km]");
    EXPECT_EQ(readText(path), expected);

    // An "=" in a value would move where the value starts: refused, the file stays.
    EXPECT_EQ(writeObjectItem(path, "Item 3.", "a = b", dir.path()), ItemStatus::BadValue);
    EXPECT_EQ(readText(path), expected);
}

TEST(ObjectItem, VeryLongLinesAreReadWhole) {
    TempDataDir dir;
    std::string path = dir.path() + "Objects/Long.cfg";
    std::string longValue(5000, 'x');
    writeText(path, std::string(3000, '#') + "\nItem 1. mass = " + longValue + "\r\n-999\n");
    EXPECT_EQ(readObjectItem(path, "Item 1.", dir.path()).value, longValue);
}

TEST(SelectionLine, FirstLineWithoutItsLineEnd) {
    TempDataDir dir;
    writeText(dir.path() + "a.cfg", "My Recording\r\n-999\n");
    writeText(dir.path() + "b.cfg", "No line end");
    writeText(dir.path() + "c.cfg", "");
    writeText(dir.path() + "d.cfg", std::string(400, 'n') + "\n-999\n");
    EXPECT_EQ(readSelectionLine(dir.path() + "a.cfg"), "My Recording");
    EXPECT_EQ(readSelectionLine(dir.path() + "b.cfg"), "No line end");
    EXPECT_EQ(readSelectionLine(dir.path() + "c.cfg"), "");
    EXPECT_EQ(readSelectionLine(dir.path() + "d.cfg"), std::string(259, 'n'));
    EXPECT_EQ(readSelectionLine(dir.path() + "missing.cfg"), std::nullopt);
}
