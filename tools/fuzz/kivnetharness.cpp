#include "kivnetharness.h"

#include <algorithm>
#include <iterator>

#include "fuzzinput.h"
#include "fuzzrack.h"
#include "simulatedrig.h"

namespace {

enum Step { kFromTarget, kWithHeader, kFromAnother, kAnswer, kTicks, kStepCount };

std::vector<uint8_t> WithKivnetHeader(uint16_t code, const std::vector<uint8_t>& body)
{
    const uint8_t header[] = {0x00,         0x36, 0x93, 0x16, 0x00, 0x01, uint8_t(code >> 8),
                              uint8_t(code)};
    std::vector<uint8_t> bytes(sizeof(header) + body.size());
    std::copy(std::begin(header), std::end(header), bytes.begin());
    std::copy(body.begin(), body.end(), bytes.begin() + sizeof(header));
    return bytes;
}

} // namespace

std::string KivnetHarness::Run(const uint8_t* data, size_t size)
{
    SimulatedRig rig(rack);
    rig.DiscoverAll();
    FuzzInput input(data, size);
    const sim::Device& target = rig.devices[input.U8() % rig.devices.size()];
    rig.only = &target;
    // How many of the program's requests are answered before the input speaks: the read-back
    // of each device is at another stage after each.
    const int exchanges = input.U8();
    for (int i = 0; i < exchanges; ++i)
        rig.AnswerOrTick();

    while (!input.Empty()) {
        exDeviceRegistry registry = rack.Registry();
        switch (input.U8() % kStepCount) {
        case kFromTarget: {
            const std::vector<uint8_t> bytes = input.Chunk();
            registry.HandleKivnetReply(bytes.data(), bytes.size(), target.ip);
            break;
        }
        case kWithHeader: {
            const uint16_t code = input.U16();
            const std::vector<uint8_t> bytes = WithKivnetHeader(code, input.Chunk());
            registry.HandleKivnetReply(bytes.data(), bytes.size(), target.ip);
            break;
        }
        case kFromAnother: {
            const sim::Device& other = rig.devices[input.U8() % rig.devices.size()];
            const uint16_t code = input.U16();
            const std::vector<uint8_t> bytes = WithKivnetHeader(code, input.Chunk());
            registry.HandleKivnetReply(bytes.data(), bytes.size(), other.ip);
            break;
        }
        case kAnswer:
            rig.AnswerOrTick();
            break;
        default:
            rack.Tick(1 + input.U8() % 16);
            break;
        }
    }
    // The real devices go on answering; whatever the input left behind must carry on.
    // Memory errors, leaks and undefined behaviour on the way are the findings here; a
    // well-formed reply from a device's address is that device's word, whatever it says.
    rig.Settle(300);
    return {};
}
