#include "simulatedrig.h"

#include "devices/basenode.h"
#include "fuzzrack.h"

namespace {

constexpr uint32_t kFirstDeviceAddress = 0x0AC9000B; // 10.201.0.11

// Whether a datagram sent to `ip` reaches `device`.
bool Reaches(uint32_t ip, const sim::Device& device)
{
    return ip == FuzzRack::kBroadcastAddress || ip == kLimitedBroadcastAddress || ip == device.ip;
}

} // namespace

SimulatedRig::SimulatedRig(FuzzRack& rack) : rack(rack)
{
    rack.Reset();
    uint16_t unit = 1;
    for (const sim::ModelInfo& model : sim::AllModels()) {
        sim::Device device = sim::MakeDevice(model, model.code);
        device.unit = unit;
        device.ip = kFirstDeviceAddress + unit - 1;
        device.mask = 0xFFFFFF00;
        device.mac = {0x00, 0x50, 0xC2, 0x10, 0x00, uint8_t(unit)};
        device.id = 100 + unit;
        if (device.IsKappa() && model.code == 0x0319) {
            device.bays[1].resize(8);
            device.bays[3].resize(4);
        }
        devices.push_back(device);
        ++unit;
    }
}

SimulatedRig::~SimulatedRig()
{
    rack.Reset();
}

void SimulatedRig::DiscoverAll()
{
    exDeviceRegistry registry = rack.Registry();
    for (const sim::Device& device : devices) {
        const std::vector<uint8_t> reply = sim::BuildDiscoveryReply(device);
        registry.HandleDiscoveryReply(reply.data(), reply.size(), device.ip);
    }
}

bool SimulatedRig::AnswerOne()
{
    // Kivnet first: it carries the read-back; then the update port and Art-Net.
    return DeliverNext(rack.kivnet.sent, kivnetDelivered, sim::kKivnet) ||
           DeliverNext(rack.update.sent, updateDelivered, sim::kUpdate) ||
           DeliverNext(rack.artNet.sent, artNetDelivered, sim::kArtNet);
}

template <class SentList>
bool SimulatedRig::DeliverNext(const SentList& sent, size_t& delivered, sim::Service service)
{
    if (delivered >= sent.size())
        return false;
    // A copy: answers make the program send more, which may move the list.
    const auto datagram = sent[delivered++];
    if (silent)
        return true;
    for (sim::Device& device : devices)
        if ((!only || only == &device) && Reaches(datagram.ip, device))
            Deliver(device, service, datagram.bytes);
    return true;
}

void SimulatedRig::AnswerOrTick()
{
    if (!AnswerOne())
        rack.Tick();
}

void SimulatedRig::Settle(int limit)
{
    for (int step = 0; step < limit; ++step) {
        if (AnswerOne())
            continue;
        if (!ReadingBack())
            return;
        rack.Tick();
    }
}

bool SimulatedRig::ReadingBack() const
{
    for (exBaseNode* device : rack.Devices()) {
        if (only && device->GetTargetIp() != only->ip)
            continue;
        if (device->readBackStage == exBaseNode::kDeviceStage ||
            device->readBackStage == exBaseNode::kPortStage)
            return true;
    }
    return false;
}

void SimulatedRig::Reconnect(int limit)
{
    silent = true;
    for (int step = 0; step < limit && !AllLost(true); ++step)
        AnswerOrTick();
    silent = false;
    for (int step = 0; step < limit && !AllLost(false); ++step)
        AnswerOrTick();
    Settle(limit);
}

bool SimulatedRig::AllLost(bool lost) const
{
    for (exBaseNode* device : rack.Devices())
        if (!device->host && (device->connectionState == exBaseNode::kLost) != lost)
            return false;
    return true;
}

void SimulatedRig::Deliver(sim::Device& device, sim::Service service,
                           const std::vector<uint8_t>& request)
{
    const sim::Outcome outcome =
        sim::HandleDatagram(device, service, request.data(), request.size());
    exDeviceRegistry registry = rack.Registry();
    for (const std::vector<uint8_t>& answer : outcome.answers) {
        switch (service) {
        case sim::kKivnet:
            registry.HandleKivnetReply(answer.data(), answer.size(), device.ip);
            break;
        case sim::kUpdate:
            registry.HandleDiscoveryReply(answer.data(), answer.size(), device.ip);
            break;
        default:
            registry.HandleArtNetReply(answer.data(), answer.size(), device.ip);
            break;
        }
    }
}
