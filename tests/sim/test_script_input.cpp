// Tests of the scripted input parser and the key-name tables.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "controls.h"
#include "script_input.h"

namespace {

TEST(ScriptInput, ParsesKeysClicksCommentsAndSortsStably) {
    const std::string text =
        "# a flight\n"
        "\n"
        "5 key w down   # pitch\n"
        "2 click 10 20\n"
        "5 key W up\n"
        "  0 key space down\n"
        "2 key F7 down\n"
        "9 key esc down\n";
    ScriptParseResult r = parseScriptInput(text, "flight.txt");
    ASSERT_TRUE(r.ok()) << r.error;
    ASSERT_EQ(r.events.size(), 6u);
    EXPECT_EQ(r.events[0].frame, 0);
    EXPECT_EQ(r.events[0].keyName, "Space");
    EXPECT_EQ(r.events[0].keyCode, KeyCode::Space);
    EXPECT_EQ(r.events[1].kind, ScriptEventKind::Click);  // frame 2, file order kept
    EXPECT_EQ(r.events[1].x, 10);
    EXPECT_EQ(r.events[1].y, 20);
    EXPECT_EQ(r.events[2].keyName, "F7");
    EXPECT_TRUE(r.events[2].isCommand);
    EXPECT_EQ(r.events[2].keyCode, KeyCode::F7);
    EXPECT_EQ(r.events[3].kind, ScriptEventKind::KeyDown);
    EXPECT_EQ(r.events[3].keyCode, KeyCode::W);
    EXPECT_EQ(r.events[3].line, 3);
    EXPECT_EQ(r.events[4].kind, ScriptEventKind::KeyUp);
    EXPECT_FALSE(r.events[4].isCommand);
    EXPECT_EQ(r.events[5].keyName, "Esc");
    EXPECT_TRUE(r.events[5].isCommand);
    EXPECT_TRUE(parseScriptInput("", "empty.txt").ok());
}

TEST(ScriptInput, KeyCodesAndCommands) {
    struct Case { const char* name; int code; };
    for (Case c : {Case{"Q", KeyCode::Q}, Case{"a", KeyCode::A}, Case{"M", KeyCode::M},
                   Case{"Z", 0x2C}, Case{"Y", 0x15}, Case{"Up", KeyCode::Up},
                   Case{"DOWN", KeyCode::Down}, Case{"F1", 0x3B}, Case{"F10", 0x44},
                   Case{"F11", 0x57}, Case{"F12", 0x58}, Case{"Esc", 0x01}})
        EXPECT_EQ(directInputCode(c.name), c.code) << c.name;
    for (const char* bad : {"F0", "F13", "F01", "Pause", "", "AB"})
        EXPECT_EQ(directInputCode(bad), -1) << bad;
    EXPECT_EQ(acceleratorCommand("F2"), 25506);
    EXPECT_EQ(acceleratorCommand("F8"), 40041);
    EXPECT_EQ(acceleratorCommand("Esc"), 40006);
    EXPECT_EQ(acceleratorCommand("F10"), 40060);  // the drift gauge
    EXPECT_EQ(directInputCode("period"), 0x34);
    EXPECT_EQ(directInputCode("Comma"), 0x33);
    EXPECT_EQ(directInputCode("LeftBracket"), 0x1A);
    EXPECT_EQ(directInputCode("RIGHTBRACKET"), 0x1B);
    EXPECT_FALSE(isCommandKey("Period"));
    EXPECT_EQ(acceleratorCommand("W"), 0);
    EXPECT_FALSE(isCommandKey("Space"));
}

TEST(ScriptInput, MalformedLinesNameFileAndLine) {
    struct Case { const char* text; const char* prefix; };
    for (Case c : {Case{"1 key W down\nx key W down\n", "s.txt:2: frame number"},
                   Case{"-1 key W down\n", "s.txt:1: frame number"},
                   Case{"\n\n3 key Pause down\n", "s.txt:3: unknown key name"},
                   Case{"3 key W pressed\n", "s.txt:1: expected down or up"},
                   Case{"3 key W\n", "s.txt:1: expected"},
                   Case{"3 key W down now\n", "s.txt:1: expected"},
                   Case{"3 click 10\n", "s.txt:1: expected"},
                   Case{"3 click 10 -4\n", "s.txt:1: click position"},
                   Case{"3 click 1.5 4\n", "s.txt:1: click position"},
                   Case{"3 press W\n", "s.txt:1: unknown event"},
                   Case{"3\n", "s.txt:1: event expected"},
                   Case{"0 pad A down\n", "s.txt:1: no controller is plugged in at this frame"},
                   Case{"0 pad plug\n2 pad unplug\n3 pad LeftX 5\n", "s.txt:3: no controller"},
                   Case{"0 pad plug\n1 pad plug\n", "s.txt:2: the controller is plugged in already"},
                   Case{"0 pad unplug\n", "s.txt:1: no controller is plugged in"},
                   Case{"0 pad plug\n1 pad LeftX 40000\n", "s.txt:2: axis position"},
                   Case{"0 pad plug\n1 pad LeftX left\n", "s.txt:2: axis position"},
                   Case{"0 pad plug\n1 pad A pressed\n", "s.txt:2: expected down or up"},
                   Case{"0 pad plug\n1 pad Z down\n", "s.txt:2: unknown controller button or axis"},
                   Case{"0 pad\n", "s.txt:1: expected"},
                   Case{"0 pad plug now\n", "s.txt:1: unknown controller button or axis"}}) {
        ScriptParseResult r = parseScriptInput(c.text, "s.txt");
        EXPECT_FALSE(r.ok()) << c.text;
        EXPECT_EQ(r.error.rfind(c.prefix, 0), 0u) << r.error;
        EXPECT_TRUE(r.events.empty());
    }
}

TEST(ScriptInput, ReadsFilesWithWindowsLineEndsAndReportsMissingOnes) {
    auto path = std::filesystem::temp_directory_path() / "celestrix_script_test.txt";
    {
        std::ofstream out(path, std::ios::binary);
        out << "1 key Q down\r\n2 key Q up\r\n";
    }
    ScriptParseResult r = readScriptInput(path.string());
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(r.events.size(), 2u);
    EXPECT_EQ(r.events[1].kind, ScriptEventKind::KeyUp);
    std::filesystem::remove(path);
    r = readScriptInput(path.string());
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.error.rfind(path.string(), 0), 0u);
}

}  // namespace
