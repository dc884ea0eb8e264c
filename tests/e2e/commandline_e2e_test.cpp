// The built program's command line: what it prints and returns for each set of arguments,
// started without a display.
#include <sys/wait.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/commandline.h"

using testing::HasSubstr;

namespace {

const std::string kVersionLine = std::string("merrow-rigwise ") + RIGWISE_VERSION + "\n";

struct Finished {
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string ReadFile(const std::string& path)
{
    std::string text;
    if (FILE* file = std::fopen(path.c_str(), "r")) {
        char buffer[4096];
        size_t got;
        while ((got = std::fread(buffer, 1, sizeof(buffer), file)) > 0)
            text.append(buffer, got);
        std::fclose(file);
    }
    return text;
}

// The built program with these arguments and no X display at all.
Finished RunProgram(const std::string& arguments)
{
    const std::string out = RIGWISE_TEST_DATA_DIR "/commandline.out";
    const std::string err = RIGWISE_TEST_DATA_DIR "/commandline.err";
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY " RIGWISE_BINARY " " +
                                arguments + " >" + out + " 2>" + err;
    Finished finished;
    const int status = std::system(command.c_str());
    finished.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    finished.out = ReadFile(out);
    finished.err = ReadFile(err);
    return finished;
}

} // namespace

TEST(CommandLine, TheBuiltProgramPrintsAndEndsWithoutADisplay)
{
    struct Case {
        const char* arguments;
        int exitCode;
        const char* out; // part of standard output; empty: nothing
        const char* err; // part of standard error; empty: nothing
    } const cases[] = {
        {"--help", 0, "--no-artnet", ""},
        {"-h", 0, "--version", ""},
        {"--version", 0, "merrow-rigwise " RIGWISE_VERSION "\n", ""},
        {"--bogus", exCommandLine::kRefusedExitCode, "", "merrow-rigwise: Unknown long option"},
        {"--no-artnet extra", exCommandLine::kRefusedExitCode, "", "Unexpected parameter"},
    };
    for (const Case& c : cases) {
        const Finished finished = RunProgram(c.arguments);
        EXPECT_EQ(finished.exitCode, c.exitCode) << c.arguments;
        if (*c.out)
            EXPECT_THAT(finished.out, HasSubstr(c.out)) << c.arguments;
        else
            EXPECT_EQ(finished.out, "") << c.arguments;
        if (*c.err)
            EXPECT_THAT(finished.err, HasSubstr(c.err)) << c.arguments;
        else
            EXPECT_EQ(finished.err, "") << c.arguments;
    }
    EXPECT_EQ(RunProgram("--version").out, kVersionLine);
}
