#pragma once

#include <array>
#include <cstdint>
#include <string>

// The text forms a rig file gives model codes ("0x0108") and MAC addresses
// ("00:50:c2:12:34:56"). Written in lower case; read in either case.
class exRigText {
public:
    static std::string FormatModelCode(uint16_t code);
    // "0x" and exactly four hexadecimal digits.
    static bool ParseModelCode(const std::string& text, uint16_t& code);

    static std::string FormatMac(const std::array<uint8_t, 6>& mac);
    // Six pairs of hexadecimal digits separated by colons.
    static bool ParseMac(const std::string& text, std::array<uint8_t, 6>& mac);

private:
    static bool HexDigits(const std::string& text, size_t from, size_t count, unsigned& value);
};
