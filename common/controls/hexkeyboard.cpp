#include "common/controls/hexkeyboard.h"

#include "common/controls/canvasbutton.h"
#include "common/controls/keyboardlayout.h"

exCanvasHexKeyboard::exCanvasHexKeyboard(exCanvasControl* parent, int x, int y)
    : exCanvasControl(parent, x, y, 175, 175, wxEmptyString)
{
    for (int i = 0; i < kKeyCount; ++i) {
        const wxPoint at = HexKeyPosition(i);
        keys[i] = new exCanvasButton(this, at.x, at.y, kHexKeySize, kHexKeySize,
                                     wxString::Format("%X", i));
        children->Append(keys[i]);
    }
}

bool exCanvasHexKeyboard::OnClick(exCanvasControl* source, int x, int y)
{
    return ForwardKeyPress(this, keys, kKeyCount, lastKey, source, x, y);
}

int exCanvasHexKeyboard::FilterChar(wxChar)
{
    return -1;
}
