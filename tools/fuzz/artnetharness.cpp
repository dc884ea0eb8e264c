#include "artnetharness.h"

#include <map>

#include "devices/basenode.h"
#include "fuzzinput.h"
#include "fuzzrack.h"
#include "net/artnetprotocol.h"
#include "simulatedrig.h"

namespace {

enum Step { kRaw, kPollReply, kAnswer, kStepCount };

constexpr size_t kReplyLength = 239;
constexpr size_t kOpCodeOffset = 8;
constexpr size_t kLongNameOffset = 44;
constexpr size_t kLongNameWidth = 64;

std::vector<uint8_t> PollReply(uint16_t opCode, const std::vector<uint8_t>& longName)
{
    std::vector<uint8_t> bytes(kReplyLength, 0);
    const char id[] = "Art-Net";
    std::copy(id, id + sizeof(id), bytes.begin());
    bytes[kOpCodeOffset] = uint8_t(opCode);
    bytes[kOpCodeOffset + 1] = uint8_t(opCode >> 8);
    for (size_t i = 0; i < longName.size() && i < kLongNameWidth; ++i)
        bytes[kLongNameOffset + i] = longName[i];
    return bytes;
}

std::map<exBaseNode*, int> Ids(const std::vector<exBaseNode*>& devices)
{
    std::map<exBaseNode*, int> ids;
    for (exBaseNode* device : devices)
        ids[device] = device->deviceId;
    return ids;
}

} // namespace

std::string ArtNetHarness::Run(const uint8_t* data, size_t size)
{
    SimulatedRig rig(rack);
    rig.DiscoverAll();
    FuzzInput input(data, size);
    while (!input.Empty()) {
        const uint8_t step = input.U8() % kStepCount;
        if (step == kAnswer) {
            rig.AnswerOrTick();
            continue;
        }
        const uint8_t pick = input.U8();
        const uint32_t sender = pick < rig.devices.size() * 2
                                    ? rig.devices[pick % rig.devices.size()].ip
                                    : 0x0AC90000u | pick;
        std::vector<uint8_t> bytes;
        if (step == kRaw) {
            bytes = input.Chunk();
        } else {
            const uint16_t opCode = input.U8() < 0xC0 ? 0x2100 : input.U16();
            bytes = PollReply(opCode, input.Chunk());
            // A reply cut short or grown, as a broken or hostile sender makes it.
            bytes.resize(input.U8() < 0xE0 ? kReplyLength : input.U16() % 600);
        }
        const std::map<exBaseNode*, int> before = Ids(rack.Devices());
        exBaseNode* changed = rack.Registry().HandleArtNetReply(bytes.data(), bytes.size(), sender);
        for (const auto& [device, id] : Ids(rack.Devices()))
            if (device != changed && before.count(device) && before.at(device) != id)
                return "a reply from another address changed a device's ID";
        if (changed && changed->deviceId < exArtNetProtocol::kForeignNodeId)
            return "ID " + std::to_string(changed->deviceId) + " from a long name";
    }
    return {};
}
