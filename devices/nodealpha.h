#pragma once

#include "devices/basenode.h"

// A black table-top node with one DMX port, which the device numbers 1 on the wire.
class exNodeAlpha : public exBaseNode {
public:
    static constexpr uint16_t kModelCode = 0x0111;

    explicit exNodeAlpha(exCanvasControl* parent);

    wxSize PaintFront(wxGraphicsContext* gc) override;
    wxSize PaintBack(wxGraphicsContext* gc) override;
    void PaintTitle(wxGraphicsContext* gc) override;
};
