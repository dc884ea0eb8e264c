#pragma once

#include <wx/font.h>

#include "common/controls/canvascontrol.h"
#include "devices/settingstate.h"

class exBaseNode;

// One Ethernet port of a switch: its mode, VLAN, loop partner and speed, drawn as its connector
// with its number and a status line.
class exSwitchPort : public exCanvasControl {
public:
    enum Mode { kDisabled = 0, kNormal = 1, kTrunkOrLoop = 2, kFilter = 3 };
    enum Connector { kJackOnly = 0, kCircular = 1, kSfpOnly = 2 };

    exSwitchPort(exBaseNode* device, int index);

    wxSize Paint(wxGraphicsContext* gc) override;
    // Opens the switch port dialog over the rack.
    bool OnClick(exCanvasControl* source, int x, int y) override;
    // The switch port dialog for this port, made for `root`, not yet open.
    virtual exCanvasControl* CreateDialog(exCanvasControl* root);

    // "Normal", "Loop n", "Trunk", "Filter", or empty for a disabled port.
    wxString GetStatusText() const;
    // The VLAN number, shown only where the port carries one.
    wxString GetVlanText() const;
    // What the switch settings message carries for this port: the partner of a loop, else the
    // VLAN.
    int GetWireValue() const;
    // Takes a port record from a switch settings reply.
    void SetFromWire(int wireMode, int value, int wireSpeed);

    int portIndex;
    int connectorKind = kCircular;
    exSettingState state;
    int mode = kNormal;
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
