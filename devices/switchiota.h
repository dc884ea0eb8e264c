#pragma once

#include "devices/switchtheta.h"

// The plain sibling of SwitchTheta: the same eight ports without SFP cages, trunks or speed
// choice, and only an "i" key on its front.
class exSwitchIota : public exSwitchTheta {
public:
    static constexpr uint16_t kModelCode = 0x300E;

    explicit exSwitchIota(exCanvasControl* parent);
};
