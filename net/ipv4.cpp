#include "net/ipv4.h"

#include <charconv>

wxString FormatIpAddress(uint32_t ip)
{
    // Every datagram sent names its address as text, so this stays off the formatted path.
    char text[16];
    char* end = text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        if (shift != 24)
            *end++ = '.';
        end = std::to_chars(end, text + sizeof(text), (ip >> shift) & 0xFF).ptr;
    }
    return wxString::FromAscii(text, size_t(end - text));
}

bool ParseIpAddress(const wxString& text, uint32_t& ip)
{
    uint32_t value = 0;
    int octets = 0;
    int digits = 0;
    uint32_t octet = 0;
    for (wxUniChar c : text) {
        if (c >= '0' && c <= '9') {
            octet = octet * 10 + (c.GetValue() - '0');
            if (++digits > 3 || octet > 255)
                return false;
        } else if (c == '.') {
            if (digits == 0 || ++octets > 3)
                return false;
            value = (value << 8) | octet;
            octet = 0;
            digits = 0;
        } else {
            return false;
        }
    }
    if (digits == 0 || octets != 3)
        return false;
    ip = (value << 8) | octet;
    return true;
}
