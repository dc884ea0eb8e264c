#include "net/kivnetprotocol.h"

#include "net/kivnetsocket.h"
#include "net/wirereader.h"

namespace {
constexpr size_t kMagicOffset = 0;
constexpr size_t kVersionOffset = 4;
constexpr size_t kCodeOffset = 6;
} // namespace

bool exKivnetProtocol::ReadCode(const uint8_t* data, size_t length, uint16_t& code)
{
    const WireReader reader(data, length);
    if (length < kHeaderLength)
        return false;
    if (reader.ReadU32Be(kMagicOffset) != bxKivnetSocket::kMagic ||
        reader.ReadU16Be(kVersionOffset) != bxKivnetSocket::kVersion)
        return false;
    code = reader.ReadU16Be(kCodeOffset);
    return code != 0;
}
