#pragma once

#include <wx/bitmap.h>

#include "devices/basenode.h"

// A 19-inch rack unit: black faces with rack ears and mounting slots on the front, the model's
// title on the front panel.
class exBaseNode19Inch : public exBaseNode {
public:
    exBaseNode19Inch(exCanvasControl* parent, int dmxPortCount);

    wxSize PaintFront(wxGraphicsContext* gc) override;
    wxSize PaintBack(wxGraphicsContext* gc) override;

    // The maker's logo at the left of the front, on the models that carry it.
    wxBitmap logo;

protected:
    // The back layout of the nodes with their DMX ports in one row from the right of the back
    // and the network socket (with `socketCount` sockets) at its left.
    void PlaceBackRow(int socketCount);
    void PaintBody(wxGraphicsContext* gc, bool front);
};
