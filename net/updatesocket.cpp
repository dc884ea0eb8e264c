#include "net/updatesocket.h"

#include <cstring>

void exUpdateSocket::FillHeader(uint8_t* buffer)
{
    std::memcpy(buffer, kMagic, sizeof(kMagic));
    buffer[6] = 0;
    buffer[7] = 0;
}
