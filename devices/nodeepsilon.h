#pragma once

#include "devices/basenode19inch.h"

// A 19-inch node with eight DMX ports on its back.
class exNodeEpsilon : public exBaseNode19Inch {
public:
    static constexpr uint16_t kModelCode = 0x0109;

    explicit exNodeEpsilon(exCanvasControl* parent);
};
