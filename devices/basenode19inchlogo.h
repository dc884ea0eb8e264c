#pragma once

#include "devices/basenode19inch.h"

// A 19-inch unit with the maker's logo above its title, a small display and two network sockets
// on its back. It stays hidden until it has answered the device settings request; as a module in
// a switch it shows only its front.
class exBaseNode19InchLogo : public exBaseNode19Inch {
public:
    exBaseNode19InchLogo(exCanvasControl* parent, int dmxPortCount);

    wxSize Paint(wxGraphicsContext* gc) override;
    void PaintTitle(wxGraphicsContext* gc) override;
};
