#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include <wx/string.h>

// What a node reports in its device settings reply.
struct exDeviceSettingsReply {
    uint8_t lock = 0; // 0 not reported, 1 unlocked, other locked
    uint8_t displayTimeout = 0;
    wxString displayLine2;
    uint8_t optionA = 0;
    uint8_t optionB = 0;
};

// One DMX port as the port settings reply reports it and the port programming message sends
// it. Only modes 0, 1 and 2 carry anything.
struct exPortSettings {
    uint8_t wirePort = 0;
    uint8_t mode = 0;
    uint16_t universeCode = 0;
    uint32_t portValue = 0;
};

// The values of a device settings message (what the program sends to a node).
struct exDeviceSettings {
    wxString name;
    bool locked = false;
    uint8_t displayTimeout = 0;
    uint8_t optionA = 0;
    uint8_t optionB = 0;
};


struct exIdentifyReply {
    wxString name;
    int id = 0;
    bool hasPortCount = false;
    uint8_t portCount = 0;
};

// One switch port record of the switch settings message and reply.
struct exSwitchPortRecord {
    int index = 0;
    uint8_t mode = 0; // 1 normal, 2 trunk or loop, 3 filter
    uint8_t speed = 0;
    uint16_t value = 0; // loop partner in mode 2, else VLAN
};

// The two layouts of the switch settings message: the smaller switches' (24 records of 16 bytes,
// little-endian switch word) and the large switch's (160 records of 8 bytes, big-endian switch
// word, two switch bytes and a module table).
enum class exSwitchForm { Small, Large };

struct exSwitchSettings {
    wxString name;
    bool locked = false;
    uint16_t displayTimeout = 0;
    uint16_t switchWord = 0;
    wxString displayLine2;
    uint8_t switchByteA = 0;
    uint8_t switchByteB = 0;
    uint8_t recordCount = 0;
    std::vector<exSwitchPortRecord> ports;
    // Large form only: DMX port count of the module in slot 1..15 (index 0 unused).
    std::array<uint8_t, 16> modules{};
};

// What the header of a Kivnet datagram says: the command (the code's low byte) and whether it is
// a device's answer (high byte 0x80) or a request.
struct exKivnetHeader {
    uint16_t code = 0;
    uint8_t command = 0;
    bool isReply = false;
};

// Messages of the Kivnet device protocol (UDP 6517), built and read by offset. The endpoint
// writes the magic and version of every outgoing datagram; the builders write them too, so a
// message is complete on its own.
class exKivnetProtocol {
public:
    static constexpr size_t kHeaderLength = 8;
    static constexpr uint8_t kReplyFlag = 0x80;

    static constexpr uint8_t kIdentify = 0x10;
    static constexpr uint8_t kIdentifyReply = 0x11;
    static constexpr uint8_t kDeviceSettings = 0x20;
    static constexpr uint8_t kDeviceSettingsRequest = 0x21;
    static constexpr uint8_t kPortProgramming = 0x30;
    static constexpr uint8_t kPortSettingsRequest = 0x31;
    static constexpr uint8_t kSwitchSettings = 0x40;
    static constexpr uint8_t kSwitchSettingsRequest = 0x41;

    static constexpr size_t kDeviceSettingsLength = 222;
    static constexpr size_t kDeviceSettingsReplyMinLength = 96;
    static constexpr size_t kPortSettingsRequestLength = 10;
    static constexpr size_t kPortInputFormLength = 22;
    static constexpr size_t kPortOutputFormLength = 164;
    static constexpr size_t kLargeIdentifyLength = 10;
    static constexpr size_t kIdentifyReplyMinLength = 43;
    static constexpr size_t kSmallSwitchSettingsLength = 450;
    static constexpr size_t kLargeSwitchSettingsLength = 1354;
    static constexpr size_t kNameWidth = 17;
    // The lock byte: a device settings reply may leave it unreported; sent, it is 1 or 2.
    static constexpr uint8_t kLockNotReported = 0;
    static constexpr uint8_t kUnlocked = 1;
    static constexpr uint8_t kLocked = 2;
    static constexpr int kModuleSlots = 15;

    // True when the datagram carries the Kivnet magic, version 1 and a non-zero message code.
    static bool ReadHeader(const uint8_t* data, size_t length, exKivnetHeader& header);

    static std::vector<uint8_t> BuildHeaderOnly(uint8_t code);
    static std::vector<uint8_t> BuildLargeIdentifyRequest();
    static std::vector<uint8_t> BuildPortSettingsRequest(uint8_t wirePort);
    static std::vector<uint8_t> BuildDeviceSettings(const exDeviceSettings& settings);
    // The 22-byte form for an input port, the 164-byte form for every other mode.
    static std::vector<uint8_t> BuildPortProgramming(const exPortSettings& port);
    static std::vector<uint8_t> BuildSwitchSettings(exSwitchForm form,
                                                    const exSwitchSettings& settings);

    // Each parser returns false, and stores nothing, when the datagram is too short for what it
    // reads.
    static bool ParseDeviceSettingsReply(const uint8_t* data, size_t length,
                                         exDeviceSettingsReply& reply);
    // Also false for a mode other than 0, 1 and 2: such a reply changes nothing.
    static bool ParsePortSettingsReply(const uint8_t* data, size_t length,
                                       exPortSettings& reply);
    static bool ParseIdentifyReply(const uint8_t* data, size_t length, exIdentifyReply& reply);
    static bool ParseSwitchSettingsReply(exSwitchForm form, const uint8_t* data, size_t length,
                                         exSwitchSettings& settings);

    static size_t SwitchSettingsLength(exSwitchForm form);
    static size_t SwitchRecordCapacity(exSwitchForm form);
};
