// A bare wxWidgets window of the program's size: the yardstick for the program's start-up time
// and memory (tools/startup-bench.sh).
#include <wx/app.h>
#include <wx/frame.h>

namespace {

class BareWindowApp : public wxApp {
public:
    bool OnInit() override
    {
        auto* frame = new wxFrame(nullptr, wxID_ANY, "Bare Window", wxDefaultPosition,
                                  wxSize(777, 480));
        frame->CreateStatusBar(2);
        frame->Show();
        return true;
    }
};

} // namespace

wxIMPLEMENT_APP(BareWindowApp);
