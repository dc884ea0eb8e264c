#include "devices/switchport.h"

#include "common/controls/canvascolours.h"
#include "devices/basenode.h"

exSwitchPort::exSwitchPort(exBaseNode* device, int index)
    : exCanvasControl(device, 0, 0, 40, 70, wxString::Format("%d", index + 1)), portIndex(index)
{
    normalFill = exCanvasColours::kDarkGrey;
    font = wxFont(wxFontInfo(int(9 / displayScale)).Family(wxFONTFAMILY_SWISS).Bold());
}
