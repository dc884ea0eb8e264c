#include "common/appstate.h"
#include "common/commandline.h"
#include "common/rigwiseapp.h"

wxIMPLEMENT_APP_NO_MAIN(RigwiseApp);

// The command line is read before the toolkit starts: --help and --version print and end
// without a display, a window or a socket.
int main(int argc, char** argv)
{
    const exCommandLine line = exCommandLine::Parse(argc, argv);
    if (line.action != exCommandLine::kRun)
        return line.Report();
    exAppState::artNetOff = line.noArtNet;
    return wxEntry(argc, argv);
}
