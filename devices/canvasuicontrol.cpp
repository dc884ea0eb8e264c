#include "devices/canvasuicontrol.h"

#include "devices/basenode.h"

exCanvasUIControl::exCanvasUIControl(exBaseNode* device)
    : exCanvasButton(device, 0, 0, 40, 20, "Button"), device(device)
{
    textFont = wxFont(wxFontInfo(int(7 / displayScale)).Family(wxFONTFAMILY_SWISS).Bold());
}
