#pragma once

#include <wx/font.h>

#include "common/controls/canvascontrol.h"

class exBaseNode;
class exCanvasButton;
class exCanvasNumberKeyboard;
class exCanvasSegementedControl;
class exCanvasTextControl;
class exSwitchPort;

// The switch port dialog: a port's mode, speed and VLAN, or the port it loops with; "OK" writes
// them into the port and settles the loop across the switch's ports.
class exSwitchPortDialog : public exCanvasControl {
public:
    static constexpr int kMaxVlan = 4094;

    exSwitchPortDialog(exCanvasControl* root, exSwitchPort* port);

    wxSize Paint(wxGraphicsContext* gc) override;
    bool OnClick(exCanvasControl* source, int x, int y) override;
    int FilterChar(wxChar character) override;

    exSwitchPort* port;
    exBaseNode* device;
    exCanvasSegementedControl* modeSelector;
    exCanvasSegementedControl* speedSelector = nullptr;
    exCanvasButton* okButton;
    exCanvasNumberKeyboard* keyboard;
    exCanvasTextControl* vlanEntry = nullptr;
    exCanvasTextControl* partnerEntry;
    bool firstKeyClears = true;
    wxFont font;
    int textOffset = -2;
    // The port's partner when the dialog opened: "OK" releases it if the port loops elsewhere.
    int oldPartner;
    // What "OK" will write into the port. The dialog keeps what is being edited itself: a
    // switch read back while it is open rewrites its ports, and what is sent must be what the
    // dialog shows.
    int pendingMode;
    int pendingSpeed;
    int pendingVlan;
    int pendingPartner;

private:
    void ApplyEntryRule();
    void ApplyVlanKey(wxChar character);
    void ApplyPartnerKey(wxChar character);
    void SettleLoop();
    // The switch's port with number `number` (from 1), or null outside the switch.
    exSwitchPort* PortNumbered(int number) const;
    int PortCount() const;
    // Sets port `number` back to normal mode, but only while it still loops with port `from`;
    // true when it did.
    bool Release(int number, int from);
    void MoveFocusOff(exCanvasTextControl* entry, exCanvasTextControl* to);
};
