#pragma once

#include <wx/font.h>

#include "common/controls/canvascontrol.h"

class exBaseNode;

// One Ethernet port of a switch: its mode, VLAN, loop partner and speed, drawn as its connector
// with its number and a status line.
class exSwitchPort : public exCanvasControl {
public:
    exSwitchPort(exBaseNode* device, int index);

    int portIndex;
    int connectorKind = 1;
    bool modified = false;
    int mode = 1;
    int vlan = 1;
    int loopPartner = 0;
    int speed = 0;
    bool hasSfp = false;
    bool trunkCapable = true;
    bool speedSelectable = true;
    int sfpOffsetX = 0;
    int sfpOffsetY = 0;
    wxFont font;
};
