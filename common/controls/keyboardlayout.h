#pragma once

#include <wx/gdicmn.h>

class exCanvasControl;
class exCanvasButton;

// Key geometry of the two on-screen keyboards, in design units.
constexpr int kHexKeySize = 40;
constexpr int kHexKeyPitch = 45;
constexpr int kNumberKeySize = 20;
constexpr int kNumberKeyPitch = 25;

// Key i of the hexadecimal keyboard: rows of four, top to bottom.
wxPoint HexKeyPosition(int index);
// Key i of the decimal keyboard: rows of three for 1..9, then the 0 under the 8.
wxPoint NumberKeyPosition(int index);
// The digit on key i of the decimal keyboard.
inline int NumberKeyDigit(int index)
{
    return (index + 1) % 10;
}

// A keyboard's click handling: remembers which of its keys was pressed and tells only its direct
// parent; false when the source is none of its keys.
bool ForwardKeyPress(exCanvasControl* keyboard, exCanvasButton* const* keys, int keyCount,
                     int& lastKey, exCanvasControl* source, int x, int y);
