// The manual pages of both programs: man renders them without warnings, and corvane's page and
// its --help name the same options.
#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "install_support.h"

using namespace install_test;

namespace {

testrun::RunResult renderPage(const std::string& program) {
    return shell("man --warnings -E UTF-8 -l " + quote(kBinaryDir + "manual/" + program + ".6"), "/tmp",
                 {"LC_ALL=C.UTF-8", "MANWIDTH=80", "MANPAGER=cat", "PAGER=cat"});
}

std::set<std::string> optionsIn(const std::string& text) {
    std::set<std::string> options;
    const std::regex option("(^|[\\s\\[|])(--[a-z][a-z-]*)");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), option); it != std::sregex_iterator(); ++it)
        options.insert((*it)[2]);
    return options;
}

TEST(ManualPages, RenderWithoutWarningsWithTheirSections) {
    for (const std::string program : {"corvane", "celestrix"}) {
        testrun::RunResult r = renderPage(program);
        EXPECT_EQ(r.exitCode, 0) << program << ": " << r.err;
        EXPECT_EQ(r.err, "") << program;
        std::string upper = program;
        for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        EXPECT_EQ(r.out.rfind(upper + "(6)", 0), 0u) << program;
        for (const char* section : {"\nNAME\n", "\nSYNOPSIS\n", "\nDESCRIPTION\n", "\nOPTIONS\n", "\nSEE ALSO\n"})
            EXPECT_NE(r.out.find(section), std::string::npos) << program << " lacks" << section;
        EXPECT_NE(r.out.find("Celestrix " + kVersion), std::string::npos) << program;
    }
}

TEST(ManualPages, CorvanesPageAndHelpNameTheSameOptions) {
    testrun::RunResult help = testrun::run(CORVANE_PATH, {"--help"}, "/tmp");
    ASSERT_EQ(help.exitCode, 0) << help.err;
    testrun::RunResult page = renderPage("corvane");
    ASSERT_EQ(page.exitCode, 0);
    const std::set<std::string> options = optionsIn(help.out);
    EXPECT_EQ(options, optionsIn(page.out));
    for (const char* option : {"--no-render", "--frames", "--probe", "--version"}) EXPECT_TRUE(options.count(option));
    EXPECT_NE(help.out.find("corvane(6)"), std::string::npos);
}

TEST(CorvaneVersion, NeedsNoDataDirectoryAndNamesTheProjectVersion) {
    testrun::RunResult r = testrun::run(CORVANE_PATH, {"--version"}, "/tmp");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(firstLine(r.out), "corvane (Celestrix) " + kVersion);
    EXPECT_NE(r.out.find("GNU General Public License"), std::string::npos);
    EXPECT_EQ(r.err, "");
}

}  // namespace
