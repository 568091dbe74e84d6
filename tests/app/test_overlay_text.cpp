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

TEST(ReplayIndicator, ShowsTitleSequenceAndCount) {
    EXPECT_EQ(replayIndicator("Tour", 1, 3), "Tour: Seq. 1/3");
}
