#pragma once

#include <cstddef>
#include <cstdint>

// Messages of the Kivnet device protocol (UDP 6517).
class exKivnetProtocol {
public:
    static constexpr size_t kHeaderLength = 8;

    // True when the datagram carries the Kivnet magic, version 1 and a non-zero message code.
    static bool ReadCode(const uint8_t* data, size_t length, uint16_t& code);
};
