#pragma once

#include "net/basesocket.h"

// Kivnet endpoint (UDP 6517): stamps the Kivnet magic and protocol version into every datagram.
class bxKivnetSocket : public bxBaseSocket {
public:
    static constexpr uint16_t kPort = 6517;
    static constexpr uint32_t kMagic = 0x00369316;
    static constexpr uint16_t kVersion = 0x0001;

    using bxBaseSocket::bxBaseSocket;
    void FillHeader(uint8_t* buffer) override;
};
