#include "common/controls/numberkeyboard.h"

#include "common/controls/canvasbutton.h"
#include "common/controls/keyboardlayout.h"

exCanvasNumberKeyboard::exCanvasNumberKeyboard(exCanvasControl* parent, int x, int y)
    : exCanvasControl(parent, x, y, 95, 95, wxEmptyString)
{
    for (int i = 0; i < kKeyCount; ++i) {
        const wxPoint at = NumberKeyPosition(i);
        keys[i] = new exCanvasButton(this, at.x, at.y, kNumberKeySize, kNumberKeySize,
                                     wxString::Format("%d", NumberKeyDigit(i)));
        children->Append(keys[i]);
    }
}

bool exCanvasNumberKeyboard::OnClick(exCanvasControl* source, int x, int y)
{
    return ForwardKeyPress(this, keys, kKeyCount, lastKey, source, x, y);
}

int exCanvasNumberKeyboard::FilterChar(wxChar)
{
    return -1;
}
