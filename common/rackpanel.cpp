#include "common/rackpanel.h"

exRackPanel::exRackPanel(wxWindow* parent, const wxString& name)
    : wxPanel(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL, name)
{
}
