#include "net/universecode.h"

namespace {
constexpr uint16_t kShownetBase = 0x00FF;
constexpr uint16_t kArtNetBase = 0x0200;
constexpr uint16_t kSacnBase = 0x0300;
constexpr int kLargestArtNetUniverse = 0xFF;
} // namespace

void exUniverseCode::Decode(uint16_t code, int& protocol, int& universe)
{
    switch (code >> 8) {
    case 0x00:
        protocol = kNotSet;
        universe = kNotSet;
        break;
    case 0x01:
        protocol = kShownet;
        universe = code - kShownetBase;
        break;
    case 0x02:
        protocol = kArtNet;
        universe = code - kArtNetBase;
        break;
    default:
        protocol = kSacn;
        universe = code - kSacnBase;
        break;
    }
}

uint16_t exUniverseCode::Encode(int protocol, int universe)
{
    if (protocol == kNotSet || universe < 0)
        return 0;
    const uint16_t value = static_cast<uint16_t>(universe);
    switch (protocol) {
    case kArtNet:
        return universe > kLargestArtNetUniverse ? 0 : uint16_t(kArtNetBase + value);
    case kSacn:
        return uint16_t(kSacnBase + value);
    case kShownet:
        return uint16_t(kShownetBase + value);
    default:
        return 0;
    }
}

wxString exUniverseCode::Text(int protocol, int universe)
{
    if (protocol == kNotSet || universe < 0)
        return wxString();
    switch (protocol) {
    case kArtNet:
        return wxString::Format("A %X-%X", universe / 16, universe % 16);
    case kSacn:
        return wxString::Format("S %d", universe);
    case kShownet:
        return wxString::Format("N %d", universe);
    default:
        return wxString();
    }
}
