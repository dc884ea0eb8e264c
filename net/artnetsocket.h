#pragma once

#include "net/basesocket.h"

// Art-Net endpoint (UDP 6454): stamps the Art-Net ID and protocol version 14 into every datagram.
class bxArtNetSocket : public bxBaseSocket {
public:
    static constexpr uint16_t kPort = 6454;
    static constexpr uint8_t kId[8] = {'A', 'r', 't', '-', 'N', 'e', 't', 0};
    static constexpr uint16_t kProtocolVersion = 14;

    using bxBaseSocket::bxBaseSocket;
    void FillHeader(uint8_t* buffer) override;
};
