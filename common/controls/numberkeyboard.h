#pragma once

#include "common/controls/canvascontrol.h"

class exCanvasButton;

// On-screen keypad of the ten decimal digits, 1 to 9 in a 3 x 3 grid with 0 under the 8; tells
// its parent which key was pressed.
class exCanvasNumberKeyboard : public exCanvasControl {
public:
    static constexpr int kKeyCount = 10;

    exCanvasNumberKeyboard(exCanvasControl* parent, int x, int y);

    bool OnClick(exCanvasControl* source, int x, int y) override;
    int FilterChar(wxChar character) override;

    exCanvasButton* keys[kKeyCount];
    int lastKey = -1;
};
