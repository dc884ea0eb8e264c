#pragma once

#include "common/controls/canvascontrol.h"

// The rack's root: holds the devices and draws only those that reach into the area being
// painted, so that a repaint costs what is visible, not the size of the rig.
class exRackRoot : public exCanvasControl {
public:
    exRackRoot();

    wxSize DrawChildren(wxGraphicsContext* gc) override;
};
