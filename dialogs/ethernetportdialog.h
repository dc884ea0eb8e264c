#pragma once

#include <wx/font.h>

#include "common/controls/canvascontrol.h"

class exCanvasButton;
class exCanvasIPTextControl;
class exCanvasSegementedControl;
class exEthernetPort;

// Edits a device's IPv4 settings, DHCP or a manual address and mask, into the record's new
// values; "OK" marks them for sending and, with immediate sending on, sends them at once.
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

private:
    // Shows the mode and lets the entries be edited only for a manual address.
    void ApplyDhcpMode(bool dhcp);
    void SetToDefault();
    void Commit();
};
