#include "common/controls/keyboardlayout.h"

#include "common/controls/canvasbutton.h"

wxPoint HexKeyPosition(int index)
{
    return wxPoint(index % 4 * kHexKeyPitch, index / 4 * kHexKeyPitch);
}

wxPoint NumberKeyPosition(int index)
{
    if (index == 9)
        return wxPoint(kNumberKeyPitch, 3 * kNumberKeyPitch);
    return wxPoint(index % 3 * kNumberKeyPitch, index / 3 * kNumberKeyPitch);
}

bool ForwardKeyPress(exCanvasControl* keyboard, exCanvasButton* const* keys, int keyCount,
                     int& lastKey, exCanvasControl* source, int x, int y)
{
    for (int i = 0; i < keyCount; ++i) {
        if (keys[i] != source)
            continue;
        lastKey = i;
        if (keyboard->parent)
            keyboard->parent->OnClick(keyboard, x, y);
        return true;
    }
    return false;
}
