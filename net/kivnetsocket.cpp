#include "net/kivnetsocket.h"

void bxKivnetSocket::FillHeader(uint8_t* buffer)
{
    buffer[0] = uint8_t(kMagic >> 24);
    buffer[1] = uint8_t(kMagic >> 16);
    buffer[2] = uint8_t(kMagic >> 8);
    buffer[3] = uint8_t(kMagic);
    buffer[4] = uint8_t(kVersion >> 8);
    buffer[5] = uint8_t(kVersion);
}
