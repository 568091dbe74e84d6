// The keyboard help pages and the replay indicator.
#include <gtest/gtest.h>

#include "overlay_text.h"

namespace {

// The key column of every line that names a key: the text before the first run of blanks.
std::vector<std::string> keysListed(const std::string& page) {
    std::vector<std::string> keys;
    size_t pos = 0;
    while (pos < page.size()) {
        size_t end = page.find('\n', pos);
        std::string line = page.substr(pos, end - pos);
        pos = end + 1;
        if (line.size() > 21 && line[0] != ' ' && line[0] != '_' && line.rfind("KEYBOARD", 0) != 0)
            keys.push_back(line.substr(0, line.find("  ")));
    }
    return keys;
}

}  // namespace

TEST(KeyboardHelp, ReplayPageListsOnlyTheReplayKeys) {
    EXPECT_EQ(keysListed(keyboardHelpPage(false)), (std::vector<std::string>{"F1", "F4", "F6", "F7", "Esc"}));
    const std::string& replay = keyboardHelpPage(false);
    EXPECT_NE(replay.find(std::string(59, '_') + "\n\n"), std::string::npos);
    EXPECT_EQ(replay.find(std::string(60, '_')), std::string::npos);
    EXPECT_NE(replay.find("Esc                  Exit\n"), std::string::npos);
}

TEST(KeyboardHelp, LivePageListsEveryKeyInOrder) {
    const std::string& live = keyboardHelpPage(true);
    EXPECT_EQ(keysListed(live),
              (std::vector<std::string>{"Space", "R / T", "F / G", "V / B", "U / I", "H / J", "N / M", "O / P",
                                        "K / L", "Q", "A", "Up / Down arrow", "W / E", "S / D", "X / C", "F1", "F2",
                                        "F3", "F4", "F5", "F6", "F7", "F8", "F9", "F12", "Esc"}));
    EXPECT_EQ(live.rfind("KEYBOARD             FUNCTION\n" + std::string(74, '_') + "\n\n", 0), 0u);
    EXPECT_NE(live.find("Esc                  Save current state and exit\n"), std::string::npos);
    EXPECT_EQ(live.substr(live.size() - 15), "Celestrix 1.0\n\n");
}

TEST(KeyboardHelp, AdditionsListEveryAddedKeyInThePagesFormat) {
    struct Case {
        bool live;
        size_t width;
        std::vector<std::string> keys;
    };
    const std::vector<Case> cases = {
        {true, 74, {"Tab / Shift+Tab", "Mouse click", "Y", "Z", ". / ,", "[ / ]", "Insert / Delete", "PgUp / PgDn",
                    "Keypad 8/2 4/6 7/9", "Home / End", "0-9, Enter", "F10", "F11"}},
        {false, 59, {"Tab / Shift+Tab", "Mouse click", "F10", "F11"}},
    };
    for (const Case& c : cases) {
        const std::string& added = keyboardHelpAdditions(c.live);
        std::vector<std::string> keys = keysListed(added);
        ASSERT_FALSE(keys.empty());
        EXPECT_EQ(keys.front(), "MORE KEYS");
        keys.erase(keys.begin());
        EXPECT_EQ(keys, c.keys);
        // Every line fits the page's width; the underscore lines are the page's own.
        size_t pos = 0;
        while (pos < added.size()) {
            const size_t end = added.find('\n', pos);
            EXPECT_LE(end - pos, c.width) << added.substr(pos, end - pos);
            pos = end + 1;
        }
        EXPECT_NE(added.find(std::string(c.width, '_') + "\n\n"), std::string::npos);
        // The keyboard help page itself is unchanged: no added key appears in it.
        EXPECT_EQ(keyboardHelpPage(c.live).find("Tab"), std::string::npos);
    }
}

TEST(ReplayIndicator, ShowsTitleSequenceAndCount) {
    EXPECT_EQ(replayIndicator("Tour", 1, 3), "Tour: Seq. 1/3");
}
