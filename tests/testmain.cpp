// Test runner: brings up the GUI toolkit once, as the program does, so that windows, fonts and
// sockets work in every test, then runs the tests.
#include <unistd.h>

#include <cstdlib>
#include <string>

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/image.h>
#include <wx/init.h>

namespace {

class TestApp : public wxApp {
public:
    bool OnInit() override { return true; }
};

// The tests open the program's endpoints and send broadcasts: they run only in the network
// namespace that tools/in-private-net.sh made, never on the machine's network. The script
// records the namespace it started from; ours must be another one.
bool InPrivateNetwork()
{
    const char* outer = std::getenv("RIGWISE_OUTER_NETNS");
    char own[64] = {};
    if (!outer || readlink("/proc/self/ns/net", own, sizeof(own) - 1) < 0)
        return false;
    return std::string(own) != outer;
}

} // namespace

wxIMPLEMENT_APP_NO_MAIN(TestApp);

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    // Listing runs no test: CTest lists every test program, wherever it is started.
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS();
    if (!InPrivateNetwork()) {
        fprintf(stderr, "refusing to run outside a private network namespace; "
                        "use tools/test.sh or tools/in-private-net.sh\n");
        return 1;
    }
    wxApp::SetInstance(new TestApp);
    if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) {
        fprintf(stderr, "the GUI toolkit could not start (is DISPLAY set?)\n");
        return 1;
    }
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
        wxImage::AddHandler(new wxPNGHandler);
    int result;
    {
        wxGUIEventLoop loop;
        wxEventLoopActivator activate(&loop);
        result = RUN_ALL_TESTS();
    }
    wxTheApp->OnExit();
    wxEntryCleanup();
    return result;
}
