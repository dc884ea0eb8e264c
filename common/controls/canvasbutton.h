#pragma once

#include "common/controls/canvascontrol.h"

// A push button with a centred label; grey when enabled, dark when disabled, inverted while
// pressed.
class exCanvasButton : public exCanvasControl {
public:
    exCanvasButton(exCanvasControl* parent, int x, int y, int width, int height,
                   const wxString& label);

    wxSize Paint(wxGraphicsContext* gc) override;

    double labelWidth = -1.0;
    double labelHeight = -1.0;
};
