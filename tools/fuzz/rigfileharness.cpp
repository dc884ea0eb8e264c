#include "rigfileharness.h"

#include <string>

#include "devices/basenode.h"
#include "devices/switchport.h"
#include "fuzzrack.h"
#include "rig/rig.h"
#include "rig/rigjson.h"
#include "simulatedrig.h"

namespace {

constexpr int kSettleSteps = 20000;

// The port numbers of loops that do not name each other back.
std::string UnpairedLoop(const exBaseNode& device)
{
    const auto& ports = device.switchPorts;
    for (size_t i = 0; i < ports.size(); ++i) {
        const int partner = ports[i]->loopPartner;
        if (ports[i]->mode != exSwitchPort::kTrunkOrLoop || partner == 0)
            continue;
        if (partner < 1 || size_t(partner) > ports.size() || size_t(partner) == i + 1 ||
            ports[size_t(partner - 1)]->loopPartner != int(i) + 1)
            return device.title.utf8_string() + " port " + std::to_string(i + 1) +
                   " loops with " + std::to_string(partner) + ", which does not loop back";
    }
    return {};
}

} // namespace

RigFileHarness::RigFileHarness(FuzzRack& rack) : FuzzHarness(rack)
{
    rig = std::make_unique<SimulatedRig>(rack);
    rig->DiscoverAll();
    rig->Settle(kSettleSteps);
}

RigFileHarness::~RigFileHarness() = default;

std::string RigFileHarness::Run(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    exRigDocument document;
    wxString problem;
    if (!exRigJson::Read(text, document, problem))
        return problem.empty() ? "a refused file without a reason" : std::string();

    const std::string written = exRigJson::Write(document);
    exRigDocument again;
    if (!exRigJson::Read(written, again, problem))
        return "a file the reader took does not read back once written: " +
               problem.utf8_string();
    if (!(again.devices == document.devices) || exRigJson::Write(again) != written)
        return "a file the reader took reads back different once written";

    const size_t sent = rack.kivnet.sent.size() + rack.update.sent.size();
    exDeviceRegistry registry = rack.Registry();
    exRig::Restore(document, [&registry](uint16_t model, uint16_t unit) {
        return registry.FindByKey(model, unit);
    });
    if (rack.kivnet.sent.size() + rack.update.sent.size() != sent)
        return "loading a rig sent something";
    for (const exBaseNode* device : rack.Devices())
        if (const std::string unpaired = UnpairedLoop(*device); !unpaired.empty())
            return "after loading: " + unpaired;
    return {};
}
