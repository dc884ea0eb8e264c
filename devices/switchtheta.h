#pragma once

#include "devices/basenode19inch.h"

// A managed switch with eight ports on its back, the last two with an SFP cage beside them. It
// reads back its identity and switch settings instead of DMX ports.
class exSwitchTheta : public exBaseNode19Inch {
public:
    static constexpr uint16_t kModelCode = 0x0318;
    static constexpr int kPortCount = 8;

    explicit exSwitchTheta(exCanvasControl* parent);

    void RequestDeviceSettings() override;
    void ProgramAll() override;
    void SendDeviceSettings() override;
    void SendSwitchSettings() override;
    void HandleReply(const uint8_t* reply, size_t length) override;

    // Kept from the device and sent back as it came.
    uint16_t switchWord = 1;
};
