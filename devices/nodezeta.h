#pragma once

#include "devices/basenode19inchlogo.h"

// A 19-inch node with eight DMX ports on its front; also the plug-in module of the large switch.
class exNodeZeta : public exBaseNode19InchLogo {
public:
    static constexpr uint16_t kModelCode = 0x010A;

    explicit exNodeZeta(exCanvasControl* parent);
};
