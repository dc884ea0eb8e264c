#pragma once

#include <array>
#include <cstdint>

#include <wx/string.h>

#include "devices/settingstate.h"

// A device's network identity: the address it answers from, the values being edited, and the
// texts its Ethernet port elements show. Shared by the device and both of its Ethernet elements.
struct exNetworkSettings {
    uint32_t currentIp = 0;
    uint32_t newIp = 0;
    uint32_t currentMask = 0;
    uint32_t newMask = 0;
    bool currentDhcp = false;
    bool newDhcp = false;
    wxString ipText;
    wxString maskText;
    uint16_t modelCode = 0;
    uint16_t unitNumber = 0;
    // As the device reports it; "Set to Default" needs it.
    std::array<uint8_t, 6> mac{};
    // Read with every discovery reply; edited by the network dialog.
    exSettingState state;
};
