#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// What a rig file holds: plain values, one per device, as the device's settings stood when the
// rig was saved. Nothing here knows drawing, dialogs or the network.

// One DMX port. Modes and protocols as the port records them: mode 0 disabled, 1 input,
// 2 output; protocol -1 not set, 0 Art-Net, 1 sACN, 2 Shownet; universe -1 when not set.
struct exRigDmxPort {
    int number = 0; // 1-based, as the port is labelled
    int mode = 0;
    int protocol = -1;
    int universe = -1;

    bool operator==(const exRigDmxPort& other) const;
};

// One Ethernet port of a switch. Mode 0 disabled, 1 normal, 2 trunk or loop, 3 filter; a loop
// is mode 2 with a partner (1-based port number), a trunk mode 2 with partner 0. Speed 0 auto,
// 1 10 Mbit/s, 2 100 Mbit/s, 3 SFP.
struct exRigSwitchPort {
    int number = 0; // 1-based
    int mode = 1;
    int speed = 0;
    int vlan = 1;
    int loopPartner = 0;

    bool operator==(const exRigSwitchPort& other) const;
};

// A node module in one of a large switch's bays, with its DMX ports.
struct exRigModule {
    int bay = 0; // 1..15
    std::vector<exRigDmxPort> dmxPorts;

    bool operator==(const exRigModule& other) const;
};

struct exRigDevice {
    // Display time-out when the device's front panel offers none.
    static constexpr int kNoDisplayTimeout = 0;

    uint16_t modelCode = 0;
    std::string modelName;
    uint16_t unitNumber = 0;
    std::array<uint8_t, 6> mac{};
    std::string name; // UTF-8
    uint32_t ip = 0;
    uint32_t mask = 0;
    bool dhcp = false;
    int displayTimeout = kNoDisplayTimeout;
    bool locked = false;
    std::vector<exRigDmxPort> dmxPorts;
    std::vector<exRigSwitchPort> switchPorts;
    std::vector<exRigModule> modules;

    bool operator==(const exRigDevice& other) const;
};

struct exRigDocument {
    static constexpr const char* kFormatName = "merrow-rigwise-rig";
    static constexpr int kMajorVersion = 1;
    static constexpr int kMinorVersion = 0;

    std::string programVersion; // "merrow-rigwise 1.16"
    std::string savedAt;        // ISO 8601, UTC: "2026-12-09T12:45:27Z"
    std::vector<exRigDevice> devices;
};
