#pragma once

#include "devices/basenode.h"

// A 19-inch rack unit: black faces with rack ears and mounting slots on the front, the model's
// title on the front panel.
class exBaseNode19Inch : public exBaseNode {
public:
    exBaseNode19Inch(exCanvasControl* parent, int dmxPortCount);

    wxSize PaintFront(wxGraphicsContext* gc) override;
    wxSize PaintBack(wxGraphicsContext* gc) override;

protected:
    void PaintBody(wxGraphicsContext* gc, bool front);
};
