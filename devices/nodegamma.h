#pragma once

#include "devices/basenode19inch.h"

// A 19-inch node with six DMX ports and three sockets on its front.
class exNodeGamma : public exBaseNode19Inch {
public:
    static constexpr uint16_t kModelCode = 0x0106;

    explicit exNodeGamma(exCanvasControl* parent);

    void PaintTitle(wxGraphicsContext* gc) override;
};
