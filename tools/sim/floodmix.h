#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "device.h"

// The datagrams of rigwise-flood: junk, valid replies cut short, valid replies of the simulated
// devices and spoofed replies, picked at random per datagram from a seeded generator. Valid
// replies are built once per device with the simulator's own message code; every other datagram
// is written into a scratch buffer, so that a datagram costs no allocation.
namespace sim {

enum class FloodKind { Random, Truncated, Valid, Spoofed, Count };

struct FloodDatagram {
    Service service = kUpdate; // the target's port it goes to
    int sender = -1;           // index of the device whose address sends it; -1: any
    const uint8_t* data = nullptr;
    size_t length = 0;
    FloodKind kind = FloodKind::Random;
};

class FloodMix {
public:
    static constexpr size_t kMaxLength = 1600;
    using Scratch = std::array<uint8_t, kMaxLength>;

    FloodMix(const std::vector<Device>& devices, uint64_t seed);

    // The next datagram; its bytes lie in the mix or in `scratch` and stay valid until the next
    // call with the same scratch buffer.
    FloodDatagram Next(Scratch& scratch);

private:
    struct Replies {
        std::vector<uint8_t> discovery;
        std::vector<uint8_t> settings;              // device settings, or identify for a switch
        std::vector<std::vector<uint8_t>> ports;    // port settings, or switch settings
        std::vector<uint8_t> artPoll;
    };

    uint64_t Random();
    size_t Below(size_t bound) { return size_t(Random() % bound); }
    void Fill(uint8_t* data, size_t length);

    FloodDatagram Junk(Scratch& scratch);
    FloodDatagram Truncated();
    FloodDatagram Valid();
    FloodDatagram Spoofed(Scratch& scratch);
    FloodDatagram SpoofedDiscovery(Scratch& scratch);
    FloodDatagram ForeignModelDiscovery(Scratch& scratch);
    FloodDatagram ScrambledReply(Scratch& scratch, Service service, size_t keep,
                                 const std::vector<uint8_t>& reply, int sender);

    std::vector<Replies> devices_;
    Replies stranger_; // a node and a switch of no address, for cut-short replies
    std::vector<uint8_t> strangerIdentify_;
    std::vector<uint16_t> foreignModels_;
    uint64_t state_;
};

} // namespace sim
