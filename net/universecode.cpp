#include "net/universecode.h"

namespace {
constexpr uint16_t kShownetBase = 0x00FF;
constexpr uint16_t kArtNetBase = 0x0200;
constexpr uint16_t kSacnBase = 0x0300;
constexpr int kLargestArtNetUniverse = 0xFF;
constexpr int kSmallestSacnUniverse = 1;
constexpr int kLargestSacnUniverse = 63999;
constexpr int kLargestShownetUniverse = 127;
constexpr int kSmallestSentShownetUniverse = 1;
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

bool exUniverseCode::InRange(int protocol, int universe)
{
    switch (protocol) {
    case kArtNet:
        return universe >= 0 && universe <= kLargestArtNetUniverse;
    case kSacn:
        return universe >= kSmallestSacnUniverse && universe <= kLargestSacnUniverse;
    case kShownet:
        return universe >= 0 && universe <= kLargestShownetUniverse;
    default:
        return false;
    }
}

int exUniverseCode::Clamp(int protocol, int universe)
{
    switch (protocol) {
    case kArtNet:
        return InRange(protocol, universe) ? universe : 0;
    case kSacn:
        return InRange(protocol, universe) ? universe : kSmallestSacnUniverse;
    case kShownet:
        return InRange(protocol, universe) ? Sendable(protocol, universe)
                                           : kSmallestSentShownetUniverse;
    default:
        return universe;
    }
}

int exUniverseCode::Sendable(int protocol, int universe)
{
    if (protocol == kShownet && universe >= 0 && universe < kSmallestSentShownetUniverse)
        return kSmallestSentShownetUniverse;
    return universe;
}

wxString exUniverseCode::EntryText(int protocol, int universe, bool shortArtNet)
{
    if (universe < 0)
        return wxString();
    if (protocol != kArtNet)
        return wxString::Format("%d", universe);
    if (shortArtNet && universe < 16)
        return wxString::Format("%X", universe);
    return wxString::Format("%X-%X", (universe / 16) & 15, universe & 15);
}
