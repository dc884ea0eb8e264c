#pragma once

#include <string>
#include <vector>

// What the program is asked to do by its command line: start (with or without Art-Net), or only
// print its usage or version and end. Read before the toolkit starts, so that --help and
// --version need no display.
class exCommandLine {
public:
    enum Action { kRun, kHelp, kVersion, kRefused };
    static constexpr const char* kProgramName = "merrow-rigwise";
    static constexpr int kRefusedExitCode = 2;

    // `arguments` without the program's own name.
    static exCommandLine Parse(const std::vector<std::string>& arguments);
    static exCommandLine Parse(int argc, char** argv);

    // Prints what the action prints (usage and version to standard output, a refusal with the
    // usage to standard error) and returns the exit code; nothing for kRun.
    int Report() const;

    Action action = kRun;
    bool noArtNet = false;
    std::string output;
};
