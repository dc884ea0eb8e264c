#include "net/artnetsocket.h"

#include <cstring>

void bxArtNetSocket::FillHeader(uint8_t* buffer)
{
    std::memcpy(buffer, kId, sizeof(kId));
    buffer[10] = uint8_t(kProtocolVersion >> 8);
    buffer[11] = uint8_t(kProtocolVersion);
}
