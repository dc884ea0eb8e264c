// The command line: what each set of arguments makes the program do, read in this process.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/commandline.h"

using testing::HasSubstr;

namespace {

const std::string kVersionLine = std::string("merrow-rigwise ") + RIGWISE_VERSION + "\n";

} // namespace

TEST(CommandLine, ArgumentsChooseWhatTheProgramDoes)
{
    struct Case {
        std::vector<std::string> arguments;
        exCommandLine::Action action;
        bool noArtNet;
        const char* says; // part of what is printed; empty: nothing
    } const cases[] = {
        {{}, exCommandLine::kRun, false, ""},
        {{"--no-artnet"}, exCommandLine::kRun, true, ""},
        {{"--help"}, exCommandLine::kHelp, false, "--no-artnet"},
        {{"-h"}, exCommandLine::kHelp, false, "Usage: merrow-rigwise"},
        {{"--no-artnet", "--help"}, exCommandLine::kHelp, false, "--version"},
        {{"--version"}, exCommandLine::kVersion, false, "merrow-rigwise " RIGWISE_VERSION},
        {{"--version", "--no-artnet"}, exCommandLine::kVersion, false, RIGWISE_VERSION},
        {{"--bogus"}, exCommandLine::kRefused, false, "Unknown long option 'bogus'"},
        {{"-x"}, exCommandLine::kRefused, false, "Unknown option 'x'"},
        {{"--no-artnet=yes"}, exCommandLine::kRefused, false, "no-artnet"},
        {{"rack.json"}, exCommandLine::kRefused, false, "Unexpected parameter 'rack.json'"},
        {{"--no-artnet", "--bogus"}, exCommandLine::kRefused, false, "Usage: merrow-rigwise"},
    };
    for (const Case& c : cases) {
        std::string shown;
        for (const std::string& argument : c.arguments)
            shown += argument + " ";
        const exCommandLine line = exCommandLine::Parse(c.arguments);
        EXPECT_EQ(line.action, c.action) << shown;
        EXPECT_EQ(line.noArtNet, c.noArtNet) << shown;
        if (*c.says)
            EXPECT_THAT(line.output, HasSubstr(c.says)) << shown;
        else
            EXPECT_EQ(line.output, "") << shown;
    }
}

TEST(CommandLine, VersionIsTheProjectsOwnOnOneLine)
{
    EXPECT_EQ(exCommandLine::Parse({"--version"}).output, kVersionLine);
    EXPECT_STRNE(RIGWISE_VERSION, "");
}
