#pragma once

#include "common/controls/canvascontrol.h"

class exCanvasButton;

// On-screen keypad of the sixteen hexadecimal digits, 4 x 4; tells its parent which key was
// pressed.
class exCanvasHexKeyboard : public exCanvasControl {
public:
    static constexpr int kKeyCount = 16;

    exCanvasHexKeyboard(exCanvasControl* parent, int x, int y);

    bool OnClick(exCanvasControl* source, int x, int y) override;
    int FilterChar(wxChar character) override;

    exCanvasButton* keys[kKeyCount];
    int lastKey = -1;
};
