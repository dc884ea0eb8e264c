#include "common/rackpanel.h"

#include "common/controls/canvascontrol.h"

exRackPanel::exRackPanel(wxWindow* parent, const wxString& name) : exBaseCanvasPanel(parent, name)
{
    root = new exCanvasControl(nullptr, 0, 0, 0, 0, wxEmptyString);
}

exRackPanel::~exRackPanel()
{
    delete root;
    root = nullptr;
}
