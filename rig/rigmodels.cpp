#include "rig/rigmodels.h"

#include <map>
#include <memory>

#include "devices/basenode.h"
#include "devices/canvasuicontrol.h"
#include "devices/modelcatalogue.h"
#include "devices/switchkappa.h"
#include "devices/switchport.h"

namespace {

constexpr int kLargestSwitchPortCount = 18;

exRigModelLimits Measure(const exBaseNode& device, bool largeSwitch)
{
    exRigModelLimits limits;
    limits.modelName = device.title.utf8_string();
    limits.dmxPorts = int(device.dmxPorts.size());
    for (const exSwitchPort* port : device.switchPorts) {
        limits.trunkCapable.push_back(port->trunkCapable);
        limits.speedSelectable.push_back(port->speedSelectable);
    }
    limits.switchPorts = int(device.switchPorts.size());
    if (largeSwitch) {
        // Its ports are the same kind throughout, however many the switch reports.
        limits.switchPorts = kLargestSwitchPortCount;
        limits.trunkCapable.resize(kLargestSwitchPortCount, limits.trunkCapable.back());
        limits.speedSelectable.resize(kLargestSwitchPortCount, limits.speedSelectable.back());
        limits.bays = exSwitchKappa::kBays;
        limits.portsPerBay = exSwitchKappa::kPortsPerBay;
        // Named by the model, not by the port count the switch happened to report.
        limits.modelName = "Pylon SwitchKappa";
    }
    limits.offersDisplayTimeout = device.panelStyle >= exCanvasUIControl::kLargeDisplay;
    limits.offersLock = device.panelStyle >= exCanvasUIControl::kKeys;
    return limits;
}

} // namespace

bool exRigModels::Limits(uint16_t modelCode, exRigModelLimits& limits)
{
    // Each model is measured once, on a device of its own that never joins a rack.
    static std::map<uint16_t, exRigModelLimits> measured;
    if (auto known = measured.find(modelCode); known != measured.end()) {
        limits = known->second;
        return true;
    }
    exCanvasControl scratch(nullptr, 0, 0, 0, 0, wxEmptyString);
    std::unique_ptr<exBaseNode> device(exModelCatalogue::Create(modelCode, &scratch));
    if (!device)
        return false;
    const bool largeSwitch = modelCode == exSwitchKappa::kModelCode ||
                             modelCode == exSwitchKappa::kLaterModelCode;
    limits = measured[modelCode] = Measure(*device, largeSwitch);
    return true;
}
