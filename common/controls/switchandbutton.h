#pragma once

#include "common/controls/canvascontrol.h"

class exCanvasButton;
class exCanvasSwitch;

// "Auto <label>" with a switch and a button beside it: the button works only while the switch
// is off. Its parent hears of button presses only.
class exCanvasSwitchAndButton : public exCanvasControl {
public:
    exCanvasSwitchAndButton(exCanvasControl* parent, int x, int y, int width, int height,
                            const wxString& label);

    wxSize Paint(wxGraphicsContext* gc) override;
    bool OnClick(exCanvasControl* source, int x, int y) override;

    exCanvasSwitch* switchControl;
    exCanvasButton* button;
};
