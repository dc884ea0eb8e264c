#include "rig/rigtext.h"

#include <cstdio>

namespace {

constexpr size_t kModelCodeDigits = 4;
constexpr size_t kMacTextLength = 17; // "xx:" five times, then "xx"

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

std::string exRigText::FormatModelCode(uint16_t code)
{
    char text[8];
    std::snprintf(text, sizeof(text), "0x%04x", unsigned(code));
    return text;
}

bool exRigText::ParseModelCode(const std::string& text, uint16_t& code)
{
    unsigned value = 0;
    if (text.size() != 2 + kModelCodeDigits || text.compare(0, 2, "0x") != 0 ||
        !HexDigits(text, 2, kModelCodeDigits, value))
        return false;
    code = uint16_t(value);
    return true;
}

std::string exRigText::FormatMac(const std::array<uint8_t, 6>& mac)
{
    char text[kMacTextLength + 1];
    std::snprintf(text, sizeof(text), "%02x:%02x:%02x:%02x:%02x:%02x", mac[0], mac[1], mac[2],
                  mac[3], mac[4], mac[5]);
    return text;
}

bool exRigText::ParseMac(const std::string& text, std::array<uint8_t, 6>& mac)
{
    if (text.size() != kMacTextLength)
        return false;
    std::array<uint8_t, 6> read{};
    for (size_t i = 0; i < read.size(); ++i) {
        unsigned value = 0;
        if (!HexDigits(text, 3 * i, 2, value) || (i > 0 && text[3 * i - 1] != ':'))
            return false;
        read[i] = uint8_t(value);
    }
    mac = read;
    return true;
}

bool exRigText::HexDigits(const std::string& text, size_t from, size_t count, unsigned& value)
{
    value = 0;
    for (size_t i = from; i < from + count; ++i) {
        const int digit = HexValue(text[i]);
        if (digit < 0)
            return false;
        value = value * 16 + unsigned(digit);
    }
    return true;
}
