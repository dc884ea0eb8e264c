#pragma once

#include "devices/basenodetabletop.h"

// A black table-top node with one DMX port, which the device numbers 1 on the wire.
class exNodeAlpha : public exBaseNodeTableTop {
public:
    static constexpr uint16_t kModelCode = 0x0111;

    explicit exNodeAlpha(exCanvasControl* parent);

    void PaintTitle(wxGraphicsContext* gc) override;

protected:
    void PaintFrontFace(wxGraphicsContext* gc) override;
};
