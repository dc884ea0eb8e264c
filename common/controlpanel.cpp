#include "common/controlpanel.h"

#include "common/appstate.h"
#include "common/controls/canvascontrol.h"

exControlPanel::exControlPanel(wxWindow* parent) : exBaseCanvasPanel(parent, "Control")
{
    root = new exCanvasControl(nullptr, 0, 0, 0, 0, wxEmptyString);
    SetBackgroundColour(*wxBLACK);
    SetMinSize(wxSize(-1, int(kHeight * exAppState::scaleFactor)));
}

exControlPanel::~exControlPanel()
{
    delete root;
    root = nullptr;
}
