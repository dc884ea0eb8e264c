#include "common/commandline.h"

#include <cstdio>

#include <wx/cmdline.h>
#include <wx/msgout.h>

namespace {

// clang-format off
const wxCmdLineEntryDesc kOptions[] = {
    {wxCMD_LINE_SWITCH, "h", "help", "show this help and end", wxCMD_LINE_VAL_NONE,
     wxCMD_LINE_OPTION_HELP},
    {wxCMD_LINE_SWITCH, nullptr, "version", "print the program's version and end",
     wxCMD_LINE_VAL_NONE, 0},
    {wxCMD_LINE_SWITCH, nullptr, "no-artnet",
     "open no Art-Net port (UDP 6454) and send no ArtPoll; device IDs stay unknown",
     wxCMD_LINE_VAL_NONE, 0},
    wxCMD_LINE_DESC_END};
// clang-format on

// The parser's complaints as text, instead of wherever the toolkit would show them.
class CollectedErrors : public wxMessageOutput {
public:
    CollectedErrors() : previous(wxMessageOutput::Set(this)) {}
    ~CollectedErrors() override { wxMessageOutput::Set(previous); }

    wxString text;

    void Output(const wxString& message) override
    {
        text << exCommandLine::kProgramName << ": " << message;
        if (!message.EndsWith("\n"))
            text << "\n";
    }

private:
    wxMessageOutput* previous;
};

} // namespace

exCommandLine exCommandLine::Parse(const std::vector<std::string>& arguments)
{
    std::vector<std::string> words{kProgramName};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    wxCmdLineParser parser(kOptions, int(words.size()), argv.data());
    parser.SetLogo("Merrow Rigwise " RIGWISE_VERSION
                   ": finds and configures DMX-over-Ethernet nodes and Ethernet switches.");

    exCommandLine line;
    int result;
    wxString errors;
    {
        CollectedErrors collected;
        result = parser.Parse(false);
        errors = collected.text;
    }
    if (result == -1) {
        line.action = kHelp;
        line.output = parser.GetUsageString().utf8_string();
    } else if (result != 0) {
        line.action = kRefused;
        line.output = (errors + parser.GetUsageString()).utf8_string();
    } else if (parser.Found("version")) {
        line.action = kVersion;
        line.output = std::string(kProgramName) + " " RIGWISE_VERSION "\n";
    } else {
        line.noArtNet = parser.Found("no-artnet");
    }
    return line;
}

exCommandLine exCommandLine::Parse(int argc, char** argv)
{
    return Parse(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc));
}

int exCommandLine::Report() const
{
    switch (action) {
    case kHelp:
    case kVersion:
        std::fputs(output.c_str(), stdout);
        return 0;
    case kRefused:
        std::fputs(output.c_str(), stderr);
        return kRefusedExitCode;
    default:
        return 0;
    }
}
