#pragma once

#include "devices/basenode.h"

// The smallest node: a light grey table-top box with two DMX ports at the back and its socket
// on the front.
class exSprite : public exBaseNode {
public:
    static constexpr uint16_t kModelCode = 0x0107;

    explicit exSprite(exCanvasControl* parent);

    wxSize PaintFront(wxGraphicsContext* gc) override;
    wxSize PaintBack(wxGraphicsContext* gc) override;
    void PaintTitle(wxGraphicsContext* gc) override;
};
