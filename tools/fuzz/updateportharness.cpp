#include "updateportharness.h"

#include <set>
#include <utility>

#include "common/rackroot.h"
#include "devices/basenode.h"
#include "discovery/deviceindex.h"
#include "fuzzinput.h"
#include "fuzzrack.h"
#include "simulatedrig.h"

namespace {

enum Step { kRaw, kDiscoveryReply, kPatchedReply, kAnswer, kTicks, kStepCount };

// Senders: mostly the devices' own subnet, sometimes anywhere.
uint32_t Sender(FuzzInput& input)
{
    const uint8_t pick = input.U8();
    return pick < 0xF0 ? 0x0AC90000u | pick : input.U32();
}

} // namespace

std::string UpdatePortHarness::Run(const uint8_t* data, size_t size)
{
    SimulatedRig rig(rack);
    FuzzInput input(data, size);
    while (!input.Empty()) {
        exDeviceRegistry registry = rack.Registry();
        const int before = registry.CountDevices();
        exBaseNode* device = nullptr;
        switch (input.U8() % kStepCount) {
        case kRaw: {
            const uint32_t sender = Sender(input);
            const std::vector<uint8_t> bytes = input.Chunk();
            device = registry.HandleDiscoveryReply(bytes.data(), bytes.size(), sender);
            break;
        }
        case kDiscoveryReply:
        case kPatchedReply: {
            sim::Device twin = rig.devices[input.U8() % rig.devices.size()];
            twin.unit = input.U8() % 4;
            twin.ip = Sender(input);
            twin.dhcp = (input.U8() & 1) != 0;
            twin.name = [&] {
                const std::vector<uint8_t> name = input.Chunk();
                return std::string(name.begin(), name.end());
            }();
            std::vector<uint8_t> bytes = sim::BuildDiscoveryReply(twin);
            const size_t at = input.U8();
            for (uint8_t patch : input.Chunk())
                if (at < bytes.size())
                    bytes[at] = patch;
            device = registry.HandleDiscoveryReply(bytes.data(), bytes.size(), twin.ip);
            break;
        }
        case kAnswer:
            rig.AnswerOrTick();
            break;
        default:
            rack.Tick(1 + input.U8() % 32);
            break;
        }
        if (device && registry.CountDevices() > before &&
            rack.status != exDeviceRegistry::StatusText(registry.CountDevices()))
            return "status line says \"" + std::string(rack.status.utf8_str()) + "\" with " +
                   std::to_string(registry.CountDevices()) + " devices shown";
        const std::string problem = CheckRack();
        if (!problem.empty())
            return problem;
    }
    return {};
}

std::string UpdatePortHarness::CheckRack()
{
    exDeviceRegistry registry = rack.Registry();
    std::set<std::pair<uint16_t, uint16_t>> keys;
    const std::vector<exBaseNode*> devices = rack.Devices();
    for (exBaseNode* device : devices) {
        const exNetworkSettings& network = device->network;
        // Modules have no key and no address of their own; discovery never touches them.
        if (device->host &&
            (network.modelCode != 0 || network.unitNumber != 0 || network.currentIp != 0))
            return "discovery rewrote a module's identity";
        if (!device->host && !keys.insert({network.modelCode, network.unitNumber}).second)
            return "two devices with model " + std::to_string(network.modelCode) + " unit " +
                   std::to_string(network.unitNumber);
        exBaseNode* byIp = registry.FindByIp(network.currentIp);
        if (!byIp || byIp->network.currentIp != network.currentIp)
            return "a device is not found by its address";
        // The index must agree with a walk of the rack: the first device with the address.
        for (exBaseNode* first : devices)
            if (first->network.currentIp == network.currentIp) {
                if (first != byIp)
                    return "the address index finds another device than the rack's order";
                break;
            }
    }
    return {};
}
