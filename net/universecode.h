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

    // The universes a port may hold for a protocol: Art-Net 0..255, sACN 1..63999, Shownet
    // 0..127 (nothing for no protocol).
    static bool InRange(int protocol, int universe);
    // A universe brought into a newly chosen protocol's range: the protocol's default (Art-Net
    // 0, sACN 1, Shownet 1) when it lies outside; a Shownet 0 becomes 1 too.
    static int Clamp(int protocol, int universe);
    // The universe a port sends: a Shownet universe 0 would travel as "not set" (its word has a
    // zero high byte), so it goes as 1.
    static int Sendable(int protocol, int universe);
    // The universe as the port dialog's entry shows it: Art-Net as its two hexadecimal digits
    // "H-L" (one digit "%X" when `shortArtNet` and below 16), others in decimal; empty when not
    // set.
    static wxString EntryText(int protocol, int universe, bool shortArtNet = false);
};
