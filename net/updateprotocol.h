#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include <wx/string.h>

class exUpdateSocket;

// What a device tells about itself in its discovery reply.
struct exDiscoveryReply {
    wxString name;
    std::array<uint8_t, 6> mac{};
    uint16_t unitNumber = 0;
    uint32_t ip = 0;
    uint32_t mask = 0;
    uint16_t modelCode = 0;
};

// Messages of the update port (UDP 6464): discovery and network settings. Devices are addressed
// by model code and unit number, always by broadcast.
class exUpdateProtocol {
public:
    static constexpr uint16_t kDiscoveryRequestCode = 0x0010;
    static constexpr uint16_t kDiscoveryReplyCode = 0x0011;
    static constexpr uint16_t kNetworkSettingsCode = 0x0088;

    static constexpr size_t kHeaderLength = 8;
    static constexpr size_t kDiscoveryReplyMinLength = 50;
    static constexpr size_t kNetworkSettingsLength = 282;

    static std::vector<uint8_t> BuildDiscoveryRequest();
    // False (and `reply` untouched) unless the datagram is a complete discovery reply.
    static bool ParseDiscoveryReply(const uint8_t* data, size_t length, exDiscoveryReply& reply);
    // With `dhcp` set the address and mask go out as 0: the device is to ask for its own.
    static std::vector<uint8_t> BuildNetworkSettings(uint16_t unitNumber, uint16_t modelCode,
                                                     uint32_t ip, uint32_t mask, bool dhcp);

    // The discovery request twice to 255.255.255.255, then once to every adapter's broadcast.
    static void SendDiscoveryRequest(exUpdateSocket& socket);
    // Network settings go only to the adapters' broadcast addresses.
    static void SendNetworkSettings(exUpdateSocket& socket, uint16_t unitNumber,
                                    uint16_t modelCode, uint32_t ip, uint32_t mask, bool dhcp);
};
