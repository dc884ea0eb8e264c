#include "floodmix.h"

#include <algorithm>
#include <cstring>

namespace sim {

namespace {

// The discovery reply's fields that spoofed copies change (update port, 50 bytes).
constexpr size_t kDiscoveryNameOffset = 8;
constexpr size_t kDiscoveryNameWidth = 18;
constexpr size_t kDiscoveryUnitOffset = 32;
constexpr size_t kDiscoveryIpOffset = 40;
constexpr size_t kDiscoveryMaskOffset = 44;
constexpr size_t kDiscoveryModelOffset = 48;
// Headers kept when a reply's fields are scrambled: magic, version and code.
constexpr size_t kKivnetHeaderSize = 8;
constexpr size_t kArtNetHeaderSize = 10; // ID and OpCode

// Shares of the mix, in percent.
constexpr size_t kJunkShare = 25;
constexpr size_t kTruncatedShare = 20;
constexpr size_t kValidShare = 35;

// Model codes the devices never use. A reply with one of them must not give the program a
// device, whatever its unit number.
constexpr uint16_t kForeignModelCandidates[] = {0x0308, 0xFFFF, 0x0000, 0x0104, 0x1234, 0x0320};

void PutU16(uint8_t* data, size_t offset, uint16_t value)
{
    data[offset] = uint8_t(value >> 8);
    data[offset + 1] = uint8_t(value);
}

void PutU32(uint8_t* data, size_t offset, uint32_t value)
{
    PutU16(data, offset, uint16_t(value >> 16));
    PutU16(data, offset + 2, uint16_t(value));
}

// A device of this model that is not in the rack, for replies from unknown senders.
Device Stranger(uint16_t modelCode)
{
    Device device = MakeDevice(*FindModel(modelCode), modelCode);
    device.name = "Stranger";
    return device;
}

} // namespace

FloodMix::FloodMix(const std::vector<Device>& devices, uint64_t seed) : state_(seed)
{
    auto repliesOf = [](const Device& device) {
        Replies replies;
        replies.discovery = BuildDiscoveryReply(device);
        if (device.IsSwitch()) {
            replies.settings = BuildIdentifyReply(device);
            replies.ports.push_back(BuildSwitchSettingsReply(device));
        } else {
            replies.settings = BuildDeviceSettingsReply(device);
            for (size_t i = 0; i < device.ports.size(); ++i)
                replies.ports.push_back(BuildPortSettingsReply(
                    device, int(i) + device.model->portBase, device.ports[i]));
        }
        if (device.answersArtNet)
            replies.artPoll = BuildArtPollReply(device);
        return replies;
    };
    for (const Device& device : devices)
        devices_.push_back(repliesOf(device));
    stranger_ = repliesOf(Stranger(0x0103));
    strangerIdentify_ = BuildIdentifyReply(Stranger(0x0318));
    for (uint16_t code : kForeignModelCandidates)
        if (!FindModel(code))
            foreignModels_.push_back(code);
}

uint64_t FloodMix::Random()
{
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

void FloodMix::Fill(uint8_t* data, size_t length)
{
    size_t at = 0;
    for (; at + 8 <= length; at += 8) {
        const uint64_t value = Random();
        std::memcpy(data + at, &value, 8);
    }
    if (at < length) {
        const uint64_t value = Random();
        std::memcpy(data + at, &value, length - at);
    }
}

FloodDatagram FloodMix::Next(Scratch& scratch)
{
    const size_t pick = Below(100);
    if (pick < kJunkShare)
        return Junk(scratch);
    if (pick < kJunkShare + kTruncatedShare || devices_.empty())
        return Truncated();
    if (pick < kJunkShare + kTruncatedShare + kValidShare)
        return Valid();
    return Spoofed(scratch);
}

// Random bytes of random length, a few of them longer than any reply the program takes.
FloodDatagram FloodMix::Junk(Scratch& scratch)
{
    FloodDatagram datagram;
    datagram.kind = FloodKind::Random;
    datagram.service = Service(Below(kServiceCount));
    datagram.sender = devices_.empty() ? -1 : int(Below(devices_.size()));
    datagram.length = Below(kMaxLength + 1);
    Fill(scratch.data(), datagram.length);
    datagram.data = scratch.data();
    return datagram;
}

// A valid reply cut short at a random length; a device's own where it has that reply.
FloodDatagram FloodMix::Truncated()
{
    FloodDatagram datagram;
    datagram.kind = FloodKind::Truncated;
    const int sender = devices_.empty() ? -1 : int(Below(devices_.size()));
    datagram.sender = sender;
    const Replies& own = sender >= 0 ? devices_[size_t(sender)] : stranger_;
    const std::vector<uint8_t>* reply = nullptr;
    switch (Below(5)) {
    case 0:
        datagram.service = kUpdate;
        reply = &own.discovery;
        break;
    case 1:
        datagram.service = kKivnet;
        reply = &stranger_.settings; // device settings
        break;
    case 2:
        datagram.service = kKivnet;
        reply = &stranger_.ports[Below(stranger_.ports.size())];
        break;
    case 3:
        datagram.service = kKivnet;
        reply = &strangerIdentify_;
        break;
    default:
        datagram.service = kArtNet;
        reply = own.artPoll.empty() ? &stranger_.artPoll : &own.artPoll;
        break;
    }
    datagram.data = reply->data();
    datagram.length = Below(reply->size());
    return datagram;
}

// A reply exactly as one of the devices sends it, from its address.
FloodDatagram FloodMix::Valid()
{
    FloodDatagram datagram;
    datagram.kind = FloodKind::Valid;
    datagram.sender = int(Below(devices_.size()));
    const Replies& own = devices_[size_t(datagram.sender)];
    const std::vector<uint8_t>* reply = &own.discovery;
    datagram.service = kUpdate;
    switch (Below(4)) {
    case 1:
        datagram.service = kKivnet;
        reply = &own.settings;
        break;
    case 2:
        datagram.service = kKivnet;
        reply = &own.ports[Below(own.ports.size())];
        break;
    case 3:
        if (!own.artPoll.empty()) {
            datagram.service = kArtNet;
            reply = &own.artPoll;
        }
        break;
    default:
        break;
    }
    datagram.data = reply->data();
    datagram.length = reply->size();
    return datagram;
}

FloodDatagram FloodMix::Spoofed(Scratch& scratch)
{
    const int sender = int(Below(devices_.size()));
    const Replies& own = devices_[size_t(sender)];
    switch (Below(4)) {
    case 0:
        return SpoofedDiscovery(scratch);
    case 1:
        return ForeignModelDiscovery(scratch);
    case 2: {
        const bool ports = Below(2) == 0;
        return ScrambledReply(scratch, kKivnet, kKivnetHeaderSize,
                              ports ? own.ports[Below(own.ports.size())] : own.settings, sender);
    }
    default:
        if (own.artPoll.empty())
            return SpoofedDiscovery(scratch);
        return ScrambledReply(scratch, kArtNet, kArtNetHeaderSize, own.artPoll, sender);
    }
}

// A device's model code and unit number with another address, mask and name, sent from the
// address of any device. Only existing keys are used: a new valid key would give the program a
// new device with every such datagram.
FloodDatagram FloodMix::SpoofedDiscovery(Scratch& scratch)
{
    const std::vector<uint8_t>& reply = devices_[Below(devices_.size())].discovery;
    std::memcpy(scratch.data(), reply.data(), reply.size());
    std::memset(scratch.data() + kDiscoveryNameOffset, 0, kDiscoveryNameWidth);
    const size_t nameLength = 1 + Below(kDiscoveryNameWidth);
    for (size_t i = 0; i < nameLength; ++i)
        scratch[kDiscoveryNameOffset + i] = uint8_t('A' + Below(26));
    const uint32_t address = Below(2) == 0 ? 0x0ACA0000u | uint32_t(Below(0x10000))
                                           : uint32_t(Random());
    static const uint32_t kMasks[] = {0xFFFF0000u, 0xFFFFFF00u, 0xFF000000u, 0u};
    const uint32_t mask = Below(5) == 0 ? uint32_t(Random()) : kMasks[Below(4)];
    PutU32(scratch.data(), kDiscoveryIpOffset, address);
    PutU32(scratch.data(), kDiscoveryMaskOffset, mask);
    FloodDatagram datagram;
    datagram.kind = FloodKind::Spoofed;
    datagram.service = kUpdate;
    datagram.sender = int(Below(devices_.size()));
    datagram.data = scratch.data();
    datagram.length = reply.size();
    return datagram;
}

// A well-formed discovery reply of a model no device has, any unit number.
FloodDatagram FloodMix::ForeignModelDiscovery(Scratch& scratch)
{
    const int sender = int(Below(devices_.size()));
    const std::vector<uint8_t>& reply = devices_[size_t(sender)].discovery;
    std::memcpy(scratch.data(), reply.data(), reply.size());
    PutU16(scratch.data(), kDiscoveryModelOffset, foreignModels_[Below(foreignModels_.size())]);
    PutU16(scratch.data(), kDiscoveryUnitOffset, uint16_t(Random()));
    FloodDatagram datagram;
    datagram.kind = FloodKind::Spoofed;
    datagram.service = kUpdate;
    datagram.sender = sender;
    datagram.data = scratch.data();
    datagram.length = reply.size();
    return datagram;
}

// A device's reply with its header kept and every field after it random, from its address.
FloodDatagram FloodMix::ScrambledReply(Scratch& scratch, Service service, size_t keep,
                                       const std::vector<uint8_t>& reply, int sender)
{
    const size_t length = std::min(reply.size(), kMaxLength);
    std::memcpy(scratch.data(), reply.data(), keep);
    Fill(scratch.data() + keep, length - keep);
    FloodDatagram datagram;
    datagram.kind = FloodKind::Spoofed;
    datagram.service = service;
    datagram.sender = sender;
    datagram.data = scratch.data();
    datagram.length = length;
    return datagram;
}

} // namespace sim
