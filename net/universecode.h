#pragma once

#include <cstdint>

#include <wx/string.h>

// The 16-bit word by which a DMX port's protocol and universe travel: its high byte selects the
// protocol (0x01 Shownet, 0x02 Art-Net, 0x03 and above sACN, 0x00 not set).
class exUniverseCode {
public:
    static constexpr int kArtNet = 0;
    static constexpr int kSacn = 1;
    static constexpr int kShownet = 2;
    static constexpr int kNotSet = -1;

    static void Decode(uint16_t code, int& protocol, int& universe);
    // 0 when protocol or universe is not set, and for an Art-Net universe above 255. The sums
    // wrap in 16 bits, as the devices compute them.
    static uint16_t Encode(int protocol, int universe);
    // "A 1-F" (Art-Net net and universe digits), "S 18", "N 6"; empty when not set.
    static wxString Text(int protocol, int universe);
};
