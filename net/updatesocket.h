#pragma once

#include "net/basesocket.h"

// Update-port endpoint (UDP 6464): discovery and network settings, addressed by model code and
// unit number. Stamps the update-port magic and the two zero bytes after the code.
class exUpdateSocket : public bxBaseSocket {
public:
    static constexpr uint16_t kPort = 6464;
    static constexpr uint8_t kMagic[4] = {'M', '-', 'R', 0};

    using bxBaseSocket::bxBaseSocket;
    void FillHeader(uint8_t* buffer) override;
};
