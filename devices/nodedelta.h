#pragma once

#include "devices/basenode19inch.h"

// A 19-inch node with ten DMX ports on its back; the last two are inputs only.
class exNodeDelta : public exBaseNode19Inch {
public:
    static constexpr uint16_t kModelCode = 0x0108;

    explicit exNodeDelta(exCanvasControl* parent);
};
