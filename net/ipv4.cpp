#include "net/ipv4.h"

wxString FormatIpAddress(uint32_t ip)
{
    return wxString::Format("%d.%d.%d.%d", int((ip >> 24) & 0xFF), int((ip >> 16) & 0xFF),
                            int((ip >> 8) & 0xFF), int(ip & 0xFF));
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
