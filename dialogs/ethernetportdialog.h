#pragma once

#include <cstdint>

#include <wx/font.h>

#include "common/controls/canvascontrol.h"

class exCanvasButton;
class exCanvasIPTextControl;
class exCanvasSegementedControl;
class exEthernetPort;

// Edits a device's IPv4 settings, DHCP or a manual address and mask. The dialog keeps what is
// being edited itself: the device answers discovery every second while the dialog is open, and
// what it sends must be what the dialog shows. "OK" makes them the record's new values, marks
// them for sending and, with immediate sending on, sends them at once.
class exEthernetPortDialog : public exCanvasControl
{
public:
    static constexpr int kManual = 0;
    static constexpr int kDhcp = 1;

    exEthernetPortDialog(exCanvasControl* root, exEthernetPort* port);

    wxSize Paint(wxGraphicsContext* gc) override;
    bool OnClick(exCanvasControl* source, int x, int y) override;

    exEthernetPort* port;
    exCanvasSegementedControl* dhcpSelector;
    exCanvasButton* okButton;
    exCanvasButton* defaultButton;
    exCanvasIPTextControl* addressEntry;
    exCanvasIPTextControl* maskEntry;
    wxFont font;
    int textOffset = -2;
    // What "OK" will send.
    uint32_t pendingIp;
    uint32_t pendingMask;
    bool pendingDhcp;

private:
    // Shows the mode and lets the entries be edited only for a manual address.
    void ApplyDhcpMode(bool dhcp);
    void SetToDefault();
    void Commit();
};
