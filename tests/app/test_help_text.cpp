// corvane's --help text against its parser: every option the help lists is accepted, with a value
// where the help shows one.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "command_line.h"

namespace {

// "  --size WxH     Use a ..." gives {"--size", "WxH"}; lines that do not start an option give {}.
std::pair<std::string, std::string> optionOfLine(const std::string& line) {
    if (line.rfind("  --", 0) != 0) return {};
    std::istringstream words(line);
    std::string option, next;
    words >> option >> next;
    // A placeholder has no lower-case letter but the x of WxH; a description's first word has
    // ("Start in a window").
    bool placeholder = !next.empty() && next.find_first_of("abcdefghijklmnopqrstuvwyz") == std::string::npos;
    return {option, placeholder ? next : ""};
}

TEST(HelpText, EveryListedOptionIsAcceptedWithItsValue) {
    const std::map<std::string, std::string> sampleValues = {
        {"WxH", "640x480"}, {"N", "5"},      {"S", "0.02"},
        {"FILE", "script.txt"}, {"DIR", "frames"}, {"K", "2"}, {"LAYERS", "hud"}};
    // Options that only go together with another one.
    const std::map<std::string, std::vector<std::string>> companions = {
        {"--every", {"--export", "frames"}}, {"--export-overlays", {"--export", "frames"}}};
    std::istringstream help(commandLineHelp());
    int listed = 0;
    for (std::string line; std::getline(help, line);) {
        auto [option, placeholder] = optionOfLine(line);
        if (option.empty()) continue;
        ++listed;
        std::vector<std::string> args;
        if (companions.count(option)) args = companions.at(option);
        args.push_back(option);
        if (!placeholder.empty()) {
            ASSERT_TRUE(sampleValues.count(placeholder)) << "no sample for " << placeholder;
            args.push_back(sampleValues.at(placeholder));
        }
        args.push_back("/d/|1");
        std::string error;
        EXPECT_TRUE(parseCommandLine(args, error)) << option << ": " << error;
    }
    EXPECT_GE(listed, 11);
    // The usage lines shown after an error are the help's first lines.
    EXPECT_EQ(std::string(commandLineHelp()).substr(1, 20), std::string(commandLineUsage()).substr(1, 20));
}

TEST(HelpText, VersionNeedsNoDataDirectory) {
    std::string error;
    auto cl = parseCommandLine({"--version"}, error);
    ASSERT_TRUE(cl) << error;
    EXPECT_TRUE(cl->version);
    EXPECT_FALSE(cl->help);
}

}  // namespace
