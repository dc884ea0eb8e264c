#pragma once

#include <wx/panel.h>

// The rack view: every detected device drawn as its front and back panels, stacked.
class exRackPanel : public wxPanel {
public:
    exRackPanel(wxWindow* parent, const wxString& name);
};
