// libFuzzer's entry for one harness: brings up the GUI toolkit once, as the program does, builds
// the hidden rack, then runs the harness on every input. A harness's complaint is a finding: it
// is printed and the run aborts, so that libFuzzer keeps the input.
#include <cstdio>
#include <cstdlib>
#include <string>

#include <wx/app.h>
#include <wx/init.h>

#include "../sim/netnscheck.h"
#include "fuzzrack.h"
#include RIGWISE_FUZZ_HARNESS_HEADER

namespace {

class FuzzApp : public wxApp {
public:
    bool OnInit() override { return true; }
};

RIGWISE_FUZZ_HARNESS* harness = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Nothing here opens a socket, but what runs the program's handlers stays off the
    // machine's network all the same.
    if (!InPrivateNetwork()) {
        std::fprintf(stderr, "refusing to run outside a private network namespace; "
                             "use tools/fuzz.sh\n");
        std::exit(1);
    }
    // The toolkit gets no arguments: libFuzzer's own are not for it.
    static int argc = 1;
    static char name[] = "rigwise-fuzz";
    static char* argv[] = {name, nullptr};
    wxApp::SetInstance(new FuzzApp);
    if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) {
        std::fprintf(stderr, "the GUI toolkit could not start (is DISPLAY set?)\n");
        std::exit(1);
    }
    static FuzzRack rack;
    harness = new RIGWISE_FUZZ_HARNESS(rack);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string problem = harness->Run(data, size);
    if (!problem.empty()) {
        std::fprintf(stderr, "finding: %s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
