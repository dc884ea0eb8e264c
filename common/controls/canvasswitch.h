#pragma once

#include "common/controls/canvascontrol.h"

// A two-state On/Off switch; the half of the current state is lit.
class exCanvasSwitch : public exCanvasControl {
public:
    exCanvasSwitch(exCanvasControl* parent, bool on, int x, int y, int width, int height);

    wxSize Paint(wxGraphicsContext* gc) override;
    bool OnClick(exCanvasControl* source, int x, int y) override;

    double offTextWidth = -1.0;
    double textHeight = -1.0;
    bool on;
};
