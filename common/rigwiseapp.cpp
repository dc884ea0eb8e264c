#include "common/rigwiseapp.h"

#include <wx/image.h>

#include "common/mainframe.h"

bool RigwiseApp::OnInit()
{
    // wxApp::OnInit is not called: it would read the command line a second time, with the
    // toolkit's default options instead of the program's.
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
        wxImage::AddHandler(new wxPNGHandler);
    exMainFrame* frame = new exMainFrame(wxString("Merrow Rigwise ") + kVersion);
    // A frame whose start-up failed has already closed itself.
    if (!IsScheduledForDestruction(frame))
        frame->Show();
    return true;
}
