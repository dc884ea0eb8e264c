#pragma once

#include <wx/font.h>

#include "common/controls/canvascontrol.h"
#include "net/kivnetprotocol.h"

class exBaseNode;
class exCanvasButton;
class exCanvasSegementedControl;
class exCanvasSwitch;
class exCanvasTextControl;

// The device settings dialog: the device's name and, as its front panel offers them, the display
// time-out and the front-panel lock. The dialog keeps what is being edited itself: a device read
// back, or a switch asking for its identity, while the dialog is open rewrites these, and what
// is sent must be what the dialog shows. "OK" writes them into the device.
class exGlobalSettingsDialog : public exCanvasControl {
public:
    // The name field's width on the wire, in bytes.
    static constexpr size_t kNameLimit = exKivnetProtocol::kNameWidth;

    exGlobalSettingsDialog(exCanvasControl* root, exBaseNode* device);

    wxSize Paint(wxGraphicsContext* gc) override;
    bool OnClick(exCanvasControl* source, int x, int y) override;
    int FilterChar(wxChar character) override;

    exBaseNode* device;
    exCanvasSegementedControl* displaySelector = nullptr;
    exCanvasSwitch* lockSwitch = nullptr;
    exCanvasButton* okButton;
    exCanvasTextControl* nameEntry;
    wxFont font;
    int textOffset = -2;
    // What "OK" will write into the device.
    wxString pendingName;
    int pendingTimeout;
    bool pendingLocked;

private:
    void Commit();
};
