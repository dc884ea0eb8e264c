#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <wx/string.h>

// What the program sends after a dialog's "OK", checked byte by byte against the message
// tables, without the code that built it. Each check returns what is wrong, empty when the
// message is well-formed (and, where given, carries what the dialog showed).
class SentMessageCheck {
public:
    // The Kivnet message code of a datagram (bytes 6..7), 0 when it is none.
    static uint16_t KivnetCode(const std::vector<uint8_t>& bytes);
    // The update-port message code (bytes 4..5), 0 when it is none.
    static uint16_t UpdateCode(const std::vector<uint8_t>& bytes);

    // A universe the dialog may hold for its protocol (-1 not set, 0 Art-Net, 1 sACN,
    // 2 Shownet).
    static bool UniverseInRange(int protocol, int universe);
    // The universe word of a protocol and universe, as the table gives it.
    static uint16_t UniverseCode(int protocol, int universe);

    // Port programming (0x0030): its form, mode flags and a universe word in some protocol's
    // range; with `mode` >= 0 also that mode and that word.
    static std::string PortProgramming(const std::vector<uint8_t>& bytes, int mode = -1,
                                       int code = -1);
    // Device settings (0x0020): a name of whole UTF-8 characters in 17 bytes; with `name`
    // given, exactly that name, that lock and that time-out.
    static std::string DeviceSettings(const std::vector<uint8_t>& bytes, const wxString* name,
                                      bool locked, int timeout);
    // Switch settings (0x0040): the name as for device settings, each port's record a known mode
    // with VLAN 1..4094, or a loop partner that loops back (0: trunk).
    static std::string SwitchSettings(const std::vector<uint8_t>& bytes, const wxString* name,
                                      bool locked, int timeout);
    // The record of port `index` (from 0) of a switch settings message.
    static std::string SwitchRecord(const std::vector<uint8_t>& bytes, int index, int mode,
                                    int value);
    // Network settings (0x0088, update port): the device's key and the address and mask shown,
    // both 0 for DHCP.
    static std::string NetworkSettings(const std::vector<uint8_t>& bytes, uint16_t unit,
                                       uint16_t model, uint32_t ip, uint32_t mask, bool dhcp);

private:
    static std::string NameField(const std::vector<uint8_t>& bytes, const wxString* name);
    static size_t SwitchStride(const std::vector<uint8_t>& bytes);
};
