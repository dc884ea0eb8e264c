#pragma once

#include "devices/basenodetabletop.h"

// The smallest node: a light grey table-top box with two DMX ports at the back and its socket
// on the front.
class exSprite : public exBaseNodeTableTop {
public:
    static constexpr uint16_t kModelCode = 0x0107;

    explicit exSprite(exCanvasControl* parent);

    void PaintTitle(wxGraphicsContext* gc) override;

protected:
    void PaintFrontFace(wxGraphicsContext* gc) override;
};
