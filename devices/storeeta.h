#pragma once

#include "devices/basenode19inchlogo.h"

// A 19-inch show store with four DMX ports on its back.
class exStoreEta : public exBaseNode19InchLogo {
public:
    static constexpr uint16_t kModelCode = 0x0203;

    explicit exStoreEta(exCanvasControl* parent);
};
