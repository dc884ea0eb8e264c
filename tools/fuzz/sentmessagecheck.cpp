#include "sentmessagecheck.h"

#include <algorithm>
#include <cstdio>

namespace {

// From the message tables: the name field, the two switch settings forms and their port records.
enum : size_t { kNameOffset = 8, kNameWidth = 17, kRecordsOffset = 66 };
enum : size_t { kSmallSwitchLength = 450, kLargeSwitchLength = 1354 };
constexpr int kMaxVlan = 4094;

unsigned U16Be(const std::vector<uint8_t>& bytes, size_t at)
{
    return unsigned(bytes[at]) << 8 | bytes[at + 1];
}

unsigned U16Le(const std::vector<uint8_t>& bytes, size_t at)
{
    return unsigned(bytes[at + 1]) << 8 | bytes[at];
}

uint32_t U32Le(const std::vector<uint8_t>& bytes, size_t at)
{
    return uint32_t(U16Le(bytes, at + 2)) << 16 | U16Le(bytes, at);
}

// Length of the well-formed UTF-8 character starting at `text[at]`, 0 when there is none
// (a stray continuation byte, an overlong or surrogate form, or a character cut short).
size_t Utf8CharLength(const std::string& text, size_t at)
{
    const auto byte = [&](size_t i) { return uint8_t(text[i]); };
    const uint8_t lead = byte(at);
    size_t length;
    uint32_t value;
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        value = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        value = lead & 0x07;
    } else {
        return 0;
    }
    if (at + length > text.size())
        return 0;
    for (size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80)
            return 0;
        value = value << 6 | (byte(at + i) & 0x3F);
    }
    const uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < smallest[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    return length;
}

std::string Hex(unsigned value)
{
    char text[16];
    std::snprintf(text, sizeof(text), "0x%04X", value);
    return text;
}

} // namespace

uint16_t SentMessageCheck::KivnetCode(const std::vector<uint8_t>& bytes)
{
    const uint8_t magic[] = {0x00, 0x36, 0x93, 0x16, 0x00, 0x01};
    if (bytes.size() < 8 || !std::equal(magic, magic + 6, bytes.begin()))
        return 0;
    return uint16_t(U16Be(bytes, 6));
}

uint16_t SentMessageCheck::UpdateCode(const std::vector<uint8_t>& bytes)
{
    const uint8_t magic[] = {'M', '-', 'R', 0};
    if (bytes.size() < 8 || !std::equal(magic, magic + 4, bytes.begin()))
        return 0;
    return uint16_t(U16Be(bytes, 4));
}

bool SentMessageCheck::UniverseInRange(int protocol, int universe)
{
    switch (protocol) {
    case -1:
        return true;
    case 0:
        return universe >= 0 && universe <= 255;
    case 1:
        return universe >= 1 && universe <= 63999;
    case 2:
        return universe >= 0 && universe <= 127;
    default:
        return false;
    }
}

uint16_t SentMessageCheck::UniverseCode(int protocol, int universe)
{
    if (universe < 0)
        return 0;
    switch (protocol) {
    case 0:
        return universe > 0xFF ? 0 : uint16_t(0x0200 + universe);
    case 1:
        return uint16_t(0x0300 + universe);
    case 2:
        return uint16_t(0x00FF + universe);
    default:
        return 0;
    }
}

std::string SentMessageCheck::PortProgramming(const std::vector<uint8_t>& bytes, int mode, int code)
{
    if (bytes.size() < 22)
        return "port programming of " + std::to_string(bytes.size()) + " bytes";
    const int sentMode = bytes[9];
    const size_t length = sentMode == 1 ? 22 : 164;
    if (sentMode > 2 || bytes.size() != length)
        return "port programming of mode " + std::to_string(sentMode) + " in " +
               std::to_string(bytes.size()) + " bytes";
    if (bytes[10] != (sentMode != 0 ? 1 : 0) || bytes[11] != (sentMode == 1 ? 1 : 2))
        return "port programming with flags " + std::to_string(bytes[10]) + "," +
               std::to_string(bytes[11]);
    const unsigned sentCode = U16Be(bytes, 12);
    const bool wellFormed = sentCode == 0 || (sentCode >= 0x00FF && sentCode <= 0x017E) ||
                            (sentCode >= 0x0200 && sentCode <= 0x02FF) ||
                            (sentCode >= 0x0301 && sentCode <= 0x0300 + 63999);
    if (!wellFormed)
        return "port programming with universe word " + Hex(sentCode);
    if (mode >= 0 && (sentMode != mode || int(sentCode) != code))
        return "port programming sends mode " + std::to_string(sentMode) + " word " +
               Hex(sentCode) + ", the dialog showed mode " + std::to_string(mode) + " word " +
               Hex(unsigned(code));
    return {};
}

std::string SentMessageCheck::NameField(const std::vector<uint8_t>& bytes, const wxString* name)
{
    std::string sent;
    for (size_t i = kNameOffset; i < kNameOffset + kNameWidth && bytes[i] != 0; ++i)
        sent += char(bytes[i]);
    for (size_t at = 0; at < sent.size();) {
        const size_t length = Utf8CharLength(sent, at);
        if (length == 0)
            return "name \"" + sent + "\" is not whole UTF-8 characters";
        at += length;
    }
    if (name) {
        const wxScopedCharBuffer shown = name->utf8_str();
        if (sent != std::string(shown.data(), shown.length()))
            return "name sent as \"" + sent + "\", the dialog showed \"" +
                   std::string(shown.data(), shown.length()) + "\"";
    }
    return {};
}

std::string SentMessageCheck::DeviceSettings(const std::vector<uint8_t>& bytes,
                                             const wxString* name, bool locked, int timeout)
{
    if (bytes.size() != 222)
        return "device settings of " + std::to_string(bytes.size()) + " bytes";
    const std::string problem = NameField(bytes, name);
    if (!problem.empty() || !name)
        return problem;
    if (bytes[34] != (locked ? 2 : 1) || bytes[35] != timeout)
        return "device settings send lock " + std::to_string(bytes[34]) + " time-out " +
               std::to_string(bytes[35]) + ", the dialog showed " + (locked ? "locked" : "open") +
               " and " + std::to_string(timeout);
    return {};
}

size_t SentMessageCheck::SwitchStride(const std::vector<uint8_t>& bytes)
{
    return bytes.size() == kLargeSwitchLength ? 8 : 16;
}

std::string SentMessageCheck::SwitchSettings(const std::vector<uint8_t>& bytes,
                                             const wxString* name, bool locked, int timeout)
{
    if (bytes.size() != kSmallSwitchLength && bytes.size() != kLargeSwitchLength)
        return "switch settings of " + std::to_string(bytes.size()) + " bytes";
    std::string problem = NameField(bytes, name);
    if (!problem.empty())
        return problem;
    if (name && (bytes[26] != (locked ? 2 : 1) || int(U16Le(bytes, 28)) != timeout))
        return "switch settings send lock " + std::to_string(bytes[26]) + " time-out " +
               std::to_string(U16Le(bytes, 28)) + ", the dialog showed " +
               (locked ? "locked" : "open") + " and " + std::to_string(timeout);
    const size_t stride = SwitchStride(bytes);
    const int count = bytes[27];
    if (kRecordsOffset + size_t(count) * stride > bytes.size())
        return "switch settings announce " + std::to_string(count) + " ports";
    const auto record = [&](int index) { return kRecordsOffset + size_t(index) * stride; };
    for (int i = 0; i < count; ++i) {
        const int mode = bytes[record(i)];
        const int value = int(U16Le(bytes, record(i) + 2));
        const std::string port = "switch port " + std::to_string(i + 1);
        if (mode > 3)
            return port + " sent in mode " + std::to_string(mode);
        // A disabled port (mode 0) carries nothing the device reads.
        if ((mode == 1 || mode == 3) && (value < 1 || value > kMaxVlan))
            return port + " sent with VLAN " + std::to_string(value);
        if (mode != 2 || value == 0)
            continue;
        if (value > count || value == i + 1)
            return port + " loops with port " + std::to_string(value);
        const size_t partner = record(value - 1);
        if (bytes[partner] != 2 || int(U16Le(bytes, partner + 2)) != i + 1)
            return port + " loops with port " + std::to_string(value) +
                   ", which does not loop back";
    }
    return {};
}

std::string SentMessageCheck::SwitchRecord(const std::vector<uint8_t>& bytes, int index, int mode,
                                           int value)
{
    const size_t at = kRecordsOffset + size_t(index) * SwitchStride(bytes);
    if (at + 4 > bytes.size())
        return "no record for switch port " + std::to_string(index + 1);
    if (bytes[at] != mode || int(U16Le(bytes, at + 2)) != value)
        return "switch port " + std::to_string(index + 1) + " sent as mode " +
               std::to_string(bytes[at]) + " value " + std::to_string(U16Le(bytes, at + 2)) +
               ", the dialog showed mode " + std::to_string(mode) + " value " +
               std::to_string(value);
    return {};
}

std::string SentMessageCheck::NetworkSettings(const std::vector<uint8_t>& bytes, uint16_t unit,
                                              uint16_t model, uint32_t ip, uint32_t mask, bool dhcp)
{
    if (bytes.size() != 282)
        return "network settings of " + std::to_string(bytes.size()) + " bytes";
    if (U16Be(bytes, 8) != unit || U16Be(bytes, 10) != model)
        return "network settings for model " + Hex(U16Be(bytes, 10)) + " unit " +
               std::to_string(U16Be(bytes, 8));
    const uint32_t sentIp = U32Le(bytes, 14);
    const uint32_t sentMask = U32Le(bytes, 18);
    if (sentIp != (dhcp ? 0 : ip) || sentMask != (dhcp ? 0 : mask))
        return "network settings send " + Hex(sentIp >> 16) + Hex(sentIp & 0xFFFF) + "/" +
               Hex(sentMask >> 16) + Hex(sentMask & 0xFFFF) + ", the dialog showed " +
               Hex(ip >> 16) + Hex(ip & 0xFFFF) + "/" + Hex(mask >> 16) + Hex(mask & 0xFFFF) +
               (dhcp ? " with DHCP" : "");
    return {};
}
