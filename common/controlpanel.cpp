#include "common/controlpanel.h"

#include "common/appstate.h"

exControlPanel::exControlPanel(wxWindow* parent) : wxPanel(parent, wxID_ANY)
{
    SetBackgroundColour(*wxBLACK);
    SetMinSize(wxSize(-1, int(kHeight * exAppState::scaleFactor)));
}
