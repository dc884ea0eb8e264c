#include "common/rigwiseapp.h"

#include <wx/image.h>

#include "common/mainframe.h"

const char* const RigwiseApp::kVersion = "1.16";

bool RigwiseApp::OnInit()
{
    if (!wxApp::OnInit())
        return false;
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
        wxImage::AddHandler(new wxPNGHandler);
    exMainFrame* frame = new exMainFrame(wxString("Merrow Rigwise ") + kVersion);
    // A frame whose start-up failed has already closed itself.
    if (!IsScheduledForDestruction(frame))
        frame->Show();
    return true;
}
