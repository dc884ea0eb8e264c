#pragma once

#include <wx/font.h>

#include "common/controls/canvasbutton.h"

class exBaseNode;

// The user interface on a device's front panel (keys or a display with name, ID, display
// time-out and lock); clicking it opens the device settings.
class exCanvasUIControl : public exCanvasButton {
public:
    explicit exCanvasUIControl(exBaseNode* device);

    bool modified = false;
    exBaseNode* device;
    wxFont textFont;
    bool greyOutline = false;
    int textLineOffset = -1;
};
